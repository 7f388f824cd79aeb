#include "tools/compile_command.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <tuple>
#include <vector>

#include "compiler/build_errors.h"
#include "compiler/compile.h"
#include "compiler/compiled_output.h"
#include "platform/folder_lock.h"
#include "platform/native_file_store.h"
#include "source/windows1252.h"
#include "tools/diagnostic_output.h"
#include "tools/utf8_paths.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

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
    if (fs::equivalent(output, utf8_path(source), error)) return true;
  }
  return false;
}

AuthorSources read_author_sources(FileStore& files, const std::string& line_path, const std::string& train_path) {
  return AuthorSources{line_path, train_path, files.read(line_path), files.read(train_path)};
}

void show(const std::vector<Diagnostic>& diagnostics, const AuthorSources& sources, bool json) {
  if (json) {
    std::fputs(diagnostics_json(diagnostics, sources).c_str(), stdout);
    std::fflush(stdout);
  } else {
    print_diagnostics(diagnostics, sources);
  }
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
  const Identity identity{*scenario_bytes, *train_bytes, request.scenario_name, request.train_number};
  std::vector<std::string> output_names;
  if (request.plan) output_names.push_back(line_plan_file_name(identity));
  output_names.push_back(table_file_name(identity));
  output_names.push_back(cell_file_name(identity));
  for (const std::string& name : output_names) {
    const fs::path output = utf8_path(request.output_folder) / utf8_path(name);
    if (is_source(output, request)) {
      complain(utf8_text(output) + " is one of your source files; the compiled file would replace it");
      return 1;
    }
  }

  NativeFileStore files;
  try {
    // The author's sources are read, never changed: the compile works on their texts.
    const AuthorSources sources = read_author_sources(files, request.line_source, request.train_source);
    std::vector<Diagnostic> diagnostics;
    const Compilation compilation = compile_sources(SourceTexts{{sources.line_text, {}}, {sources.train_text, {}}},
                                                    identity, request.plan, &diagnostics);
    show(diagnostics, sources, request.json);
    switch (compilation.status) {
      case CompileStatus::fatal_report:
        complain(" Errore n. " + std::to_string(number_of(compilation.fatal)) +
                 (compilation.fatal == BuildErrorCode::stamp_slot_used
                      ? ": the sources set value 1 of cell 1 or word 1 of record 85, slots the compiler stamps"
                      : ": the sources set value 2 of cell 1 or the time of record 85, slots of the identity codes"));
        return 1;
      case CompileStatus::no_cells:
        complain("no compiled file written: no cells were built");
        return 1;
      case CompileStatus::compiled:
        break;
    }

    std::error_code error;
    fs::create_directories(utf8_path(request.output_folder), error);
    if (error) throw FileError("create the output folder", request.output_folder, error.message());
    const FolderLock one_compile_at_a_time(request.output_folder);
    const ScenarioFolder out{request.output_folder, static_cast<char>(fs::path::preferred_separator)};
    write_compiled_files(files, out, identity, compilation.model);

    const std::string written = std::to_string(output_names.size()) + " files written to " + request.output_folder;
    if (compilation.error.is_set()) {
      complain("compiled with build error " + std::to_string(compilation.error.number()) + ": " + written + " (" +
               count_text(diagnostics) + ")");
      return 2;
    }
    std::string summary = compile_summary(compilation, output_names.size(), request.output_folder);
    if (count_of(diagnostics, Severity::warning) > 0) summary += " (" + count_text(diagnostics) + ")";
    std::fprintf(stderr, "%s\n", summary.c_str());
    return 0;
  } catch (const FileError& e) {
    complain(e.what());
    return 1;
  }
}

int run_check(const CheckRequest& request) {
  NativeFileStore files;
  try {
    const AuthorSources sources = read_author_sources(files, request.line_source, request.train_source);
    std::vector<Diagnostic> diagnostics;
    // The names only label the compiled files, which a check does not write.
    const Compilation compilation = compile_sources(SourceTexts{{sources.line_text, {}}, {sources.train_text, {}}},
                                                    ascii_identity("check", "0"), request.plan, &diagnostics);
    show(diagnostics, sources, request.json);
    // A fatal report or a route without cells comes with its build error told.
    const bool errors = compilation.error.is_set() || compilation.status != CompileStatus::compiled;
    const bool strict_warnings = request.strict && count_of(diagnostics, Severity::warning) > 0;
    std::fprintf(stderr, "%s%s\n", count_text(diagnostics).c_str(),
                 strict_warnings ? " (warnings count as errors)" : "");
    return errors || strict_warnings ? 2 : 0;
  } catch (const FileError& e) {
    complain(e.what());
    return 1;
  }
}

}  // namespace scenario
