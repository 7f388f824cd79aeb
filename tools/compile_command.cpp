#include "tools/compile_command.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <system_error>
#include <tuple>
#include <vector>

#include "compiler/build_errors.h"
#include "compiler/compile.h"
#include "platform/folder_lock.h"
#include "platform/native_file_store.h"
#include "source/windows1252.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// A folder of our own for the compile, which deletes the sources it reads.
// Created fresh (never an existing one), readable by the author alone, removed at the end.
class PrivateFolder {
 public:
  PrivateFolder() {
    std::random_device seed;
    std::error_code error;
    const fs::path temporary_folders = fs::temp_directory_path(error);
    if (error) throw FileError("find", "the folder for temporary files", error.message());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path candidate = temporary_folders / ("scenario-compile-" + std::to_string(seed()));
      if (fs::create_directory(candidate, error)) {
        fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
        path_ = candidate;
        return;
      }
      // Only a name already taken is worth another try.
      if (error) throw FileError("create", candidate.string(), error.message());
    }
    throw FileError("create", (temporary_folders / "scenario-compile-*").string(), "no free folder name");
  }
  ~PrivateFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  std::string string() const { return path_.string(); }

 private:
  fs::path path_;
};

// A name that becomes part of file names must stay a plain name within the folder.
bool usable_in_file_names(const std::string& text) {
  return text.find_first_of("/\\") == std::string::npos && text.find('\0') == std::string::npos && text != "." &&
         text != "..";
}

void complain(const std::string& message) { std::fprintf(stderr, "scenario_tool: %s\n", message.c_str()); }

// The same file as one of the author's sources, reached by whatever path.
bool is_source(const fs::path& output, const CompileRequest& request) {
  std::error_code error;
  for (const std::string& source : {request.line_source, request.train_source}) {
    if (fs::equivalent(output, source, error)) return true;
  }
  return false;
}

}  // namespace

int run_compile(const CompileRequest& request) {
  const auto scenario_bytes = utf8_to_cp1252(request.scenario_name);
  const auto train_bytes = utf8_to_cp1252(request.train_number);
  for (const auto& [typed, bytes, what] : {std::tuple{&request.scenario_name, &scenario_bytes, "scenario name"},
                                           std::tuple{&request.train_number, &train_bytes, "train number"}}) {
    if (!*bytes) {
      complain(std::string(what) + " \"" + *typed +
               "\" has a character the Windows-1252 code page lacks; the compiled table stores one byte a character");
      return 1;
    }
    if (!usable_in_file_names(*typed)) {
      complain(std::string(what) + " \"" + *typed + "\" cannot be part of a file name");
      return 1;
    }
  }

  if (request.output_folder.empty()) {
    complain("the output folder is empty: name a folder, \".\" for this one");
    return 1;
  }
  std::vector<std::string> output_names;
  {
    const Identity id{*scenario_bytes, *train_bytes, request.scenario_name, request.train_number};
    if (request.plan) output_names.push_back(line_plan_file_name(id));
    output_names.push_back(table_file_name(id));
    output_names.push_back(cell_file_name(id));
  }
  for (const std::string& name : output_names) {
    const fs::path output = fs::path(request.output_folder) / name;
    if (is_source(output, request)) {
      complain(output.string() + " is one of your source files; the compiled file would replace it");
      return 1;
    }
  }

  NativeFileStore files;
  BuildError recorded;
  try {
    PrivateFolder work;
    BuildContext ctx;
    ctx.identity = Identity{*scenario_bytes, *train_bytes, request.scenario_name, request.train_number};
    ctx.folder = work.string();
    ctx.separator = '/';
    ctx.files = &files;

    files.replace(ctx.path(line_source_name(ctx.identity)), files.read(request.line_source));
    files.replace(ctx.path(train_source_name(ctx.identity)), files.read(request.train_source));

    int32_t plan_flag = request.plan ? 1 : 0;
    const CompileResult result = memorizza_percorso(ctx, plan_flag);
    switch (result.status) {
      case CompileResult::Status::fatal_report:
        complain(" Errore n. " + std::to_string(result.fatal_number) +
                 (result.fatal_number == 1250
                      ? ": the sources set value 1 of cell 1 or word 1 of record 85, slots the compiler stamps"
                      : ": the sources set value 2 of cell 1 or the time of record 85, slots of the identity codes"));
        return 1;
      case CompileResult::Status::no_cell_array:
        complain("no compiled file written: no cells were built (" + describe_build_error(ctx.model.error) + ")");
        return 1;
      case CompileResult::Status::written:
        break;
    }

    std::error_code error;
    fs::create_directories(request.output_folder, error);
    if (error) throw FileError("create the output folder", request.output_folder, error.message());
    const FolderLock one_compile_at_a_time(request.output_folder);
    BuildContext out = ctx;
    out.folder = request.output_folder;
    std::vector<std::string> compiled;
    std::vector<NewFile> outputs;
    for (const std::string& name : output_names) compiled.push_back(files.read(ctx.path(name)));
    for (size_t i = 0; i < output_names.size(); ++i) outputs.push_back({out.path(output_names[i]), compiled[i]});
    files.replace_together(outputs);
    recorded = ctx.model.error;
  } catch (const FileError& e) {
    complain(e.what());
    return 1;
  } catch (const std::exception& e) {
    complain(std::string("compile stopped: ") + e.what());
    return 1;
  }
  if (recorded.number != 0) {
    std::fprintf(stderr, "%s\n", describe_build_error(recorded).c_str());
    return 2;
  }
  return 0;
}

}  // namespace scenario
