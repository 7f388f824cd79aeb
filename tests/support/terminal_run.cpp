#include "support/terminal_run.h"

namespace scenario::testing {
namespace {

// One word for the shell that script hands the command line to.
std::string quoted(const std::string& word) {
  std::string text = "'";
  for (char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

}  // namespace

ProgramRun run_on_terminal(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& folder, const std::vector<std::string>& environment) {
  std::string command = quoted(program);
  for (const std::string& argument : arguments) {
    command += ' ';
    command += quoted(argument);
  }
  // script gives the program a terminal of its own and ends with its status.
  return run_program("/usr/bin/script", {"--quiet", "--return", "--flush", "--command", command, "/dev/null"}, folder,
                     environment);
}

}  // namespace scenario::testing
