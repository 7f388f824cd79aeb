#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "support/temp_folder.h"

extern char** environ;

namespace scenario::testing {
namespace {

std::vector<std::string> changed_environment(const EnvironmentChange& change) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('='));
    const bool dropped = std::find(change.unset.begin(), change.unset.end(), name) != change.unset.end() ||
                         std::any_of(change.set.begin(), change.set.end(), [&](const std::string& added) {
                           return added.compare(0, name.size() + 1, name + "=") == 0;
                         });
    if (!dropped) result.push_back(variable);
  }
  result.insert(result.end(), change.set.begin(), change.set.end());
  return result;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const EnvironmentChange& environment, const std::string& standard_error_file) {
  std::vector<std::string> argv_texts{program};
  argv_texts.insert(argv_texts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> env_texts = changed_environment(environment);
  std::vector<char*> argv = pointers_to(argv_texts);
  std::vector<char*> envp = pointers_to(env_texts);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, standard_error_file.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int failed = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + program + ": " + std::strerror(failed));
}

ChildProcess::~ChildProcess() {
  if (status_) return;
  ::kill(pid_, SIGKILL);
  int ignored = 0;
  ::waitpid(pid_, &ignored, 0);
}

std::optional<int> ChildProcess::wait_for(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!status_) {
    int raw = 0;
    const pid_t done = ::waitpid(pid_, &raw, WNOHANG);
    if (done == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      break;
    }
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status_;
}

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const EnvironmentChange& environment, const std::string& scratch_folder) {
  const std::string error_file = scratch_folder + "/standard-error.txt";
  ChildProcess child(program, arguments, environment, error_file);
  const std::optional<int> status = child.wait_for(std::chrono::minutes(1));
  if (!status) throw std::runtime_error(program + " did not end within a minute");
  ProgramRun run{*status, read_file(error_file)};
  std::filesystem::remove(error_file);
  return run;
}

}  // namespace scenario::testing
