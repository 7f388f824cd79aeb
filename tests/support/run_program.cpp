#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace scenario::testing {

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                       const std::vector<std::string>& environment) {
  int error_pipe[2];
  int output_pipe[2];
  if (::pipe(error_pipe) != 0 || ::pipe(output_pipe) != 0) throw std::runtime_error("pipe");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork");
  if (child == 0) {
    ::dup2(error_pipe[1], STDERR_FILENO);
    ::dup2(output_pipe[1], STDOUT_FILENO);
    for (int fd : {error_pipe[0], error_pipe[1], output_pipe[0], output_pipe[1]}) ::close(fd);
    const int null_fd = ::open("/dev/null", O_RDWR);
    ::dup2(null_fd, STDIN_FILENO);
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
  ::close(error_pipe[1]);
  ::close(output_pipe[1]);
  ProgramRun run;
  // Both streams at once: a child that fills one pipe while we wait on the other would never end.
  pollfd streams[2] = {{error_pipe[0], POLLIN, 0}, {output_pipe[0], POLLIN, 0}};
  std::string* texts[2] = {&run.error_text, &run.output_text};
  for (int open_streams = 2; open_streams > 0;) {
    if (::poll(streams, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd < 0 || streams[i].revents == 0) continue;
      char chunk[65536];
      const ssize_t got = ::read(streams[i].fd, chunk, sizeof chunk);
      if (got > 0) {
        texts[i]->append(chunk, static_cast<size_t>(got));
      } else if (got < 0 && errno == EINTR) {
        continue;
      } else {
        ::close(streams[i].fd);
        streams[i].fd = -1;
        --open_streams;
      }
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

}  // namespace scenario::testing
