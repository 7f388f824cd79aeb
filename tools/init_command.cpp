#include "tools/init_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "compiler/file_store.h"
#include "platform/native_file_store.h"
#include "source/built_in_scenario.h"
#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "tools/utf8_paths.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

void complain(const std::string& message) { std::fprintf(stderr, "scenario_tool: %s\n", message.c_str()); }

// One argument as the system's command interpreter reads it back unchanged.
std::string shell_quoted(std::string_view argument) {
#ifdef _WIN32
  if (!argument.empty() && argument.find_first_of(" \t\"&|<>^%!();,=") == std::string_view::npos) {
    return std::string(argument);
  }
  // Backslashes count only before a quote: there they are doubled, and the quote escaped.
  std::string text = "\"";
  size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    text += c;
  }
  text.append(2 * backslashes, '\\');
  return text + "\"";
#else
  constexpr std::string_view kPlain = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789@%+=:,./_-";
  if (!argument.empty() && argument.find_first_not_of(kPlain) == std::string_view::npos) return std::string(argument);
  std::string text = "'";
  for (const char c : argument) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
#endif
}

std::string command_line(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    line += shell_quoted(argument);
  }
  return line;
}

struct SourceFile {
  std::string path;  // UTF-8
  std::string bytes;
};

}  // namespace

int run_init(const InitRequest& request) {
  if (request.folder.empty()) {
    complain("the folder is empty: name a folder, \".\" for this one");
    return 1;
  }
  const fs::path folder = utf8_path(request.folder);
  const std::vector<SourceFile> sources = {
      {utf8_text(folder / kInitLineSource), render_text_file(line_source_lines())},
      {utf8_text(folder / kInitTrainSource), render_text_file(train_source_lines())},
  };

  if (!request.force) {
    for (const SourceFile& source : sources) {
      std::error_code error;
      if (fs::exists(fs::symlink_status(utf8_path(source.path), error))) {
        complain(source.path + " is already there; nothing written: choose another folder, or add --force to replace " +
                 kInitLineSource + " and " + kInitTrainSource);
        return 1;
      }
    }
  }
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    complain("cannot create the folder " + request.folder + ": " + error.message());
    return 1;
  }
  try {
    NativeFileStore files;
    for (const SourceFile& source : sources) files.replace(source.path, source.bytes);
  } catch (const FileError& e) {
    complain(e.what());
    return 1;
  }

  std::printf("Wrote %s (line source) and %s (train source): the scenario the builder carries, %s with train %s.\n",
              sources[0].path.c_str(), sources[1].path.c_str(), std::string(built_in::kScenarioName).c_str(),
              std::string(built_in::kTrainNumber).c_str());
  std::printf("Keep them Windows-1252 text with CR LF line ends as you edit them. Compile them with:\n");
  std::printf("  %s\n", command_line({request.program, "compile", "--line", sources[0].path, "--train", sources[1].path,
                                      "--name", std::string(built_in::kScenarioName), "--train-number",
                                      std::string(built_in::kTrainNumber), "--out", request.folder})
                            .c_str());
  return 0;
}

void add_init_command(CLI::App& app, int& status) {
  auto request = std::make_shared<InitRequest>();
  CLI::App* init = app.add_subcommand("init", "write the builder's own line and train sources as a starting point");
  init->footer(
      "Writes line.txt (the line source) and train.txt (the train source) into DIR, which is created when\n"
      "missing: the scenario the builder carries, as Windows-1252 text with CR LF line ends. Then prints the\n"
      "compile command that builds them into exactly the builder's files. Sources already in DIR are left\n"
      "alone, and nothing is written, unless --force. Exit status: 0 written; 1 not written.");
  init->add_option("DIR", request->folder, "the folder that receives the two sources")->required();
  init->add_flag("--force", request->force, "replace line.txt and train.txt when DIR has them already");
  init->callback([request, &app, &status] {
    request->program = app.get_name();
    status = run_init(*request);
  });
}

}  // namespace scenario
