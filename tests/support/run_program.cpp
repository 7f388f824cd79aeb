#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace scenario::testing {

ProgramStart::ProgramStart(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment_changes)
    : texts_{program} {
  texts_.insert(texts_.end(), arguments.begin(), arguments.end());
  for (char** entry = environ; *entry != nullptr; ++entry) entries_.emplace_back(*entry);
  for (const std::string& change : environment_changes) {
    const std::string name = change.substr(0, change.find('=') + 1);
    std::erase_if(entries_, [&](const std::string& entry) { return entry.rfind(name, 0) == 0; });
    if (change.size() > name.size()) entries_.push_back(change);
  }
  for (std::string& text : texts_) argv_.push_back(text.data());
  argv_.push_back(nullptr);
  for (std::string& entry : entries_) envp_.push_back(entry.data());
  envp_.push_back(nullptr);
}

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                       const std::vector<std::string>& environment, std::optional<unsigned long> file_size_limit) {
  ProgramStart start(program, arguments, environment);
  int error_fds[2];
  int output_fds[2];
  if (::pipe(error_fds) != 0 || ::pipe(output_fds) != 0) throw std::runtime_error("pipe");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork");
  if (child == 0) {
    ::dup2(error_fds[1], STDERR_FILENO);
    ::dup2(output_fds[1], STDOUT_FILENO);
    for (int fd : {error_fds[0], error_fds[1], output_fds[0], output_fds[1]}) ::close(fd);
    const int null_fd = ::open("/dev/null", O_RDWR);
    ::dup2(null_fd, STDIN_FILENO);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    if (file_size_limit) {
      const rlimit limit{*file_size_limit, *file_size_limit};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
    }
    ::execve(program.c_str(), start.argv(), start.envp());
    ::_exit(127);
  }
  ::close(error_fds[1]);
  ::close(output_fds[1]);
  ProgramRun run;
  // Both streams are drained together: a child that fills one pipe while we wait on the other would stall.
  pollfd streams[2] = {{error_fds[0], POLLIN, 0}, {output_fds[0], POLLIN, 0}};
  std::string* texts[2] = {&run.error_text, &run.output_text};
  int open_streams = 2;
  char chunk[4096];
  while (open_streams > 0) {
    if (::poll(streams, 2, -1) < 0) throw std::runtime_error("poll");
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd < 0 || streams[i].revents == 0) continue;
      const ssize_t got = ::read(streams[i].fd, chunk, sizeof chunk);
      if (got > 0) {
        texts[i]->append(chunk, static_cast<size_t>(got));
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
