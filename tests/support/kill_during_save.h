// Test support: a save killed with SIGKILL at some moment of its work.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace qz::testing {

/// Forks a child that calls `save(0)`, `save(1)`, ... for ever, announcing
/// each call through a pipe, and kills it with SIGKILL once it has started
/// save number `saves` (0-based) — somewhere inside that save. False when the
/// child could not be started or followed.
inline bool killDuringSaves(int saves, const std::function<void(int)>& save) {
  int ready[2];
  if (::pipe(ready) != 0) return false;
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    ::close(ready[0]);
    for (int n = 0;; ++n) {
      if (::write(ready[1], "s", 1) != 1) ::_exit(2);
      save(n);
    }
  }
  ::close(ready[1]);
  bool followed = true;
  char signal = 0;
  for (int started = 0; started <= saves && followed; ++started) followed = ::read(ready[0], &signal, 1) == 1;
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  return followed;
}

}  // namespace qz::testing
