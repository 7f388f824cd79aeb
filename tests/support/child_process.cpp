#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <thread>

#include "support/run_program.h"

namespace scenario::testing {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& standard_error_file, const std::vector<std::string>& environment) {
  ProgramStart start(program, arguments, environment);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, standard_error_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const int failed = posix_spawn(&pid_, program.c_str(), &actions, nullptr, start.argv(), start.envp());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + program + ": " + std::strerror(failed));
}

ChildProcess::~ChildProcess() {
  if (!status_) kill();
}

int ChildProcess::kill() {
  if (status_) return *status_;
  ::kill(pid_, SIGKILL);
  int raw = 0;
  ::waitpid(pid_, &raw, 0);
  status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return *status_;
}

std::optional<int> ChildProcess::wait_for(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!status_) {
    int raw = 0;
    if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      break;
    }
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status_;
}

}  // namespace scenario::testing
