#include "support/run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace scenario::testing {

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                       const std::vector<std::string>& environment) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) throw std::runtime_error("pipe");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork");
  if (child == 0) {
    ::dup2(pipe_fds[1], STDERR_FILENO);
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    const int null_fd = ::open("/dev/null", O_RDWR);
    ::dup2(null_fd, STDIN_FILENO);
    ::dup2(null_fd, STDOUT_FILENO);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    for (const std::string& entry : environment) {
      const size_t equals = entry.find('=');
      const std::string name = entry.substr(0, equals);
      const std::string value = entry.substr(equals + 1);
      if (value.empty()) {
        ::unsetenv(name.c_str());
      } else {
        ::setenv(name.c_str(), value.c_str(), 1);
      }
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipe_fds[1]);
  ProgramRun run;
  char chunk[4096];
  ssize_t got = 0;
  while ((got = ::read(pipe_fds[0], chunk, sizeof chunk)) > 0) run.error_text.append(chunk, static_cast<size_t>(got));
  ::close(pipe_fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

}  // namespace scenario::testing
