#include "tools/compile_command.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <tuple>
#include <vector>

#include "compiler/build_errors.h"
#include "compiler/compile.h"
#include "platform/posix_file_store.h"
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
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path candidate = fs::temp_directory_path() / ("scenario-compile-" + std::to_string(seed()));
      std::error_code error;
      if (fs::create_directory(candidate, error)) {
        fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
        path_ = candidate;
        return;
      }
    }
    throw FileError("create", (fs::temp_directory_path() / "scenario-compile-*").string(), "no free folder name");
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
  return text.find_first_of("/\\") == std::string::npos && text.find('\0') == std::string::npos &&
         text != "." && text != "..";
}

void complain(const std::string& message) { std::fprintf(stderr, "scenario_tool: %s\n", message.c_str()); }

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

  PosixFileStore files;
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
        complain("no compiled file written: the line source gave no cells (" + describe_build_error(ctx.model.error) +
                 ")");
        return 1;
      case CompileResult::Status::written:
        break;
    }

    std::error_code error;
    fs::create_directories(request.output_folder, error);
    BuildContext out = ctx;
    out.folder = request.output_folder;
    std::vector<std::string> names;
    if (request.plan) names.push_back(line_plan_file_name(ctx.identity));
    names.push_back(table_file_name(ctx.identity));
    names.push_back(cell_file_name(ctx.identity));
    for (const std::string& name : names) files.replace(out.path(name), files.read(ctx.path(name)));
    recorded = ctx.model.error;
  } catch (const FileError& e) {
    complain(e.what());
    return 1;
  }
  if (recorded.number != 0) {
    std::fprintf(stderr, "%s\n", describe_build_error(recorded).c_str());
    return 2;
  }
  return 0;
}

}  // namespace scenario
