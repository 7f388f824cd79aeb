#include "tools/compiled_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "compiler/file_store.h"
#include "platform/native_file_store.h"
#include "tools/utf8_paths.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPlanSuffix = "_linea.dat";

bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

enum class NameKind { cells, table, line_plan, other };

NameKind kind_by_name(const fs::path& path) {
  const std::string name = utf8_text(path.filename());
  if (ends_with(name, kPlanSuffix)) return NameKind::line_plan;
  if (ends_with(name, ".sim")) return NameKind::table;
  if (ends_with(name, ".dat")) return NameKind::cells;
  return NameKind::other;
}

// The largest file a compile can write of each kind: a larger one is refused
// before it is read.
size_t largest_file(CompiledFile file) {
  switch (file) {
    case CompiledFile::cells:
      return static_cast<size_t>(kMaxCellCount) * kCellBytes;
    case CompiledFile::table:
      return kTableRecords * (kEmptyRecordBytes + UINT16_MAX);
    case CompiledFile::line_plan:
      return 2 * (static_cast<size_t>(kMaxLastPlanMetre) + 1) * (sizeof(uint16_t) + sizeof(double));
  }
  return 0;
}

void take(std::optional<std::string>& slot, const fs::path& path, CompiledFile file) {
  if (slot) {
    throw UnreadableScenario("two " + std::string(compiled_file_name(file)) + "s: " + *slot + " and " +
                             utf8_text(path) + "; name the files of one scenario");
  }
  slot = utf8_text(path);
}

void add_file(CompiledPaths& paths, const fs::path& path) {
  switch (kind_by_name(path)) {
    case NameKind::cells:
      return take(paths.cells, path, CompiledFile::cells);
    case NameKind::table:
      return take(paths.table, path, CompiledFile::table);
    case NameKind::line_plan:
      return take(paths.line_plan, path, CompiledFile::line_plan);
    case NameKind::other:
      throw UnreadableScenario(utf8_text(path) +
                               ": not the name of a compiled file (<name>_<train>.dat, <name>_<train>.sim or "
                               "<name>_linea.dat)");
  }
}

// A folder's scenario: its table file names the cell file (<name>_<train>.sim
// and .dat) and, by the longest matching scenario name, the plan.
void add_folder(CompiledPaths& paths, const fs::path& folder) {
  std::vector<fs::path> tables, cells, plans;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (!entry.is_regular_file(error)) continue;
    switch (kind_by_name(entry.path())) {
      case NameKind::table:
        tables.push_back(entry.path());
        break;
      case NameKind::cells:
        cells.push_back(entry.path());
        break;
      case NameKind::line_plan:
        plans.push_back(entry.path());
        break;
      case NameKind::other:
        break;
    }
  }
  if (error) throw UnreadableScenario("cannot list " + utf8_text(folder) + ": " + error.message());
  std::sort(tables.begin(), tables.end());
  if (tables.size() > 1) {
    throw UnreadableScenario(utf8_text(folder) + " holds " + std::to_string(tables.size()) + " compiled scenarios (" +
                             utf8_text(tables[0].filename()) + ", " + utf8_text(tables[1].filename()) +
                             "...): name the files of one");
  }
  if (tables.empty()) {
    if (cells.size() + plans.size() == 0) throw UnreadableScenario(utf8_text(folder) + " holds no compiled files");
    if (cells.size() > 1 || plans.size() > 1) {
      throw UnreadableScenario(utf8_text(folder) + " holds no table file (.sim) to tell which files belong together");
    }
    if (!cells.empty()) add_file(paths, cells.front());
    if (!plans.empty()) add_file(paths, plans.front());
    return;
  }
  const fs::path& table = tables.front();
  add_file(paths, table);
  const std::string stem = utf8_text(table.stem());
  const fs::path cell_file = folder / utf8_path(stem + ".dat");
  if (fs::is_regular_file(cell_file, error) && kind_by_name(cell_file) == NameKind::cells) add_file(paths, cell_file);
  std::optional<fs::path> plan;
  size_t matched = 0;
  for (const fs::path& candidate : plans) {
    const std::string name = utf8_text(candidate.filename());
    const std::string scenario_name = name.substr(0, name.size() - kPlanSuffix.size());
    if (stem.rfind(scenario_name + "_", 0) == 0 && scenario_name.size() >= matched) {
      plan = candidate;
      matched = scenario_name.size();
    }
  }
  if (plan) add_file(paths, *plan);
}

std::string read_checked(const std::string& path, CompiledFile file) {
  std::error_code error;
  const uintmax_t size = fs::file_size(utf8_path(path), error);
  if (error) throw UnreadableScenario("cannot read " + path + ": " + error.message());
  if (size > largest_file(file)) {
    throw UnreadableScenario(path + ": " + std::string(compiled_file_name(file)) + " of " + std::to_string(size) +
                             " bytes, larger than any compile writes (" + std::to_string(largest_file(file)) +
                             " bytes at most)");
  }
  try {
    NativeFileStore files;
    return files.read(path);
  } catch (const FileError& e) {
    throw UnreadableScenario(e.what());
  }
}

}  // namespace

CompiledPaths find_compiled_files(const std::vector<std::string>& paths) {
  CompiledPaths found;
  for (const std::string& path : paths) {
    std::error_code error;
    const fs::file_status status = fs::status(utf8_path(path), error);
    if (error || !fs::exists(status)) throw UnreadableScenario(path + ": no such file or folder");
    if (fs::is_directory(status)) {
      add_folder(found, utf8_path(path));
    } else {
      add_file(found, utf8_path(path));
    }
  }
  return found;
}

LoadedScenario load_compiled_scenario(const std::vector<std::string>& paths) {
  LoadedScenario loaded;
  loaded.paths = find_compiled_files(paths);
  std::optional<std::string> cells, table, plan;
  if (loaded.paths.cells) cells = read_checked(*loaded.paths.cells, CompiledFile::cells);
  if (loaded.paths.table) table = read_checked(*loaded.paths.table, CompiledFile::table);
  if (loaded.paths.line_plan) plan = read_checked(*loaded.paths.line_plan, CompiledFile::line_plan);

  CompiledBytes bytes;
  if (cells) {
    bytes.cells = *cells;
    loaded.cell_bytes = cells->size();
  }
  if (table) {
    bytes.table = *table;
    loaded.table_bytes = table->size();
  }
  if (plan) {
    bytes.line_plan = *plan;
    loaded.line_plan_bytes = plan->size();
  }
  Decoded<DecodedScenario> decoded = decode_scenario(bytes);
  if (!decoded) {
    const DecodeError& error = decoded.error();
    const std::optional<std::string>& path = error.file == CompiledFile::cells   ? loaded.paths.cells
                                             : error.file == CompiledFile::table ? loaded.paths.table
                                                                                 : loaded.paths.line_plan;
    throw UnreadableScenario(path.value_or("?") + ": " + error.message());
  }
  loaded.scenario = std::move(decoded.value());
  return loaded;
}

}  // namespace scenario
