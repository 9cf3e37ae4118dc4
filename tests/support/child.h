// A forked helper process for the multi-process tests, with a pipe each way to
// pass one-character signals, and a deadline so that no test hangs.
#pragma once
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace corva::test {

class Child {
 public:
  // Runs body in a forked child; its return value is the exit status.
  explicit Child(const std::function<int(Child&)>& body, int timeout_ms = 10000)
      : timeout_ms_(timeout_ms) {
    if (pipe(to_child_) != 0 || pipe(to_parent_) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      in_child_ = true;
      alarm(static_cast<unsigned>(timeout_ms / 1000 + 1));
      _exit(body(*this));
    }
  }
  ~Child() {
    if (pid_ > 0) kill();
    for (int fd : {to_child_[0], to_child_[1], to_parent_[0], to_parent_[1]}) {
      if (fd >= 0) close(fd);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Sends one character to the other side.
  void signal(char c) {
    const int fd = in_child_ ? to_parent_[1] : to_child_[1];
    (void)!write(fd, &c, 1);
  }
  // The next character from the other side, or 0 on timeout or end.
  char wait_for_child() { return receive(to_parent_[0]); }
  char wait_for_parent() { return receive(to_child_[0]); }

  // Waits for the child to end; its exit status, or -1.
  int join() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Ends the child at once and reaps it.
  void kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  char receive(int fd) {
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    if (poll(&p, 1, timeout_ms_) == 1 && read(fd, &c, 1) == 1) return c;
    return 0;
  }

  int to_child_[2] = {-1, -1};
  int to_parent_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool in_child_ = false;
  int timeout_ms_;
};

}  // namespace corva::test
