#pragma once

// Fault tests that must change the process in ways a test process cannot
// undo (a lower user, a write limit, a private mount) run their body in a
// forked child. The child sends back one text, which the test compares;
// a child that crashes or hangs is reported as such, never as a pass.

#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace junmaru::testing {

// The unprivileged user the children become (nobody on Debian).
constexpr uid_t kNobody = 65534;

struct ChildOutcome {
  std::string text;  // what the body returned
  std::string how;   // "" when the body returned, else how the child died
};

// Runs body in a child process and returns its text. The child is killed
// after timeout_seconds, so a hang shows up as a failure.
inline ChildOutcome InChild(const std::function<std::string()>& body, unsigned timeout_seconds = 120) {
  int fds[2];
  if (::pipe(fds) != 0) return {"", "pipe failed"};
  const pid_t pid = ::fork();
  if (pid < 0) return {"", "fork failed"};
  if (pid == 0) {
    ::close(fds[0]);
    ::alarm(timeout_seconds);
    const std::string text = body();
    std::size_t done = 0;
    while (done < text.size()) {
      ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  ChildOutcome outcome;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) outcome.text.append(buffer, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) outcome.how = "killed by signal " + std::to_string(WTERMSIG(status));
  else if (WEXITSTATUS(status) != 0) outcome.how = "exit status " + std::to_string(WEXITSTATUS(status));
  return outcome;
}

// Becomes the unprivileged user, so that file modes apply again (the tests
// run as root, which no mode stops). True when it worked.
inline bool DropToNobody() {
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && ::geteuid() != 0;
}

// Mounts a tmpfs of the given size ("64k") on dir in a mount namespace of
// this process alone, so nothing outside the child sees it. Needs root; the
// caller skips or falls back to a write limit when it fails.
inline bool MountSmallTmpfs(const std::string& dir, const char* size) {
  if (::unshare(CLONE_NEWNS) != 0) return false;
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  const std::string options = std::string("size=") + size + ",mode=0777";
  return ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// Limits every file this process writes to bytes, with SIGXFSZ ignored so
// that a write beyond the limit fails with EFBIG instead of killing it.
inline bool LimitFileSize(rlim_t bytes) {
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{bytes, bytes};
  return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

}  // namespace junmaru::testing
