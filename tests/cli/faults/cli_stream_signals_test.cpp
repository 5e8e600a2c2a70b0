// The streams of qz-cli when their reader goes away or the user presses
// Ctrl+C: the run ends at once, cleanly, with what was written kept.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/temp_folder.h"

namespace {

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CliStreams, AReaderThatGoesAwayEndsTheRunQuietly) {
  qz::testing::TempFolder folder;
  const std::string lines = folder.file("lines.txt");
  {
    std::ofstream out(lines);
    for (int i = 0; i < 300000; ++i) out << i << " km/h m/s\n";
  }
  const std::string values = folder.file("values.txt");
  {
    std::ofstream out(values);
    for (int i = 0; i < 300000; ++i) out << i << "\n";
  }
  struct Case {
    const char* name;
    std::string arguments;
    std::string firstLines;
  };
  const Case cases[] = {
      // A billion values: only the closed pipe can end this run soon.
      {"range", "eval 'y=x' --from 1 --to 1e9 --step 1", "1               1\n2               2\n"},
      {"eval --stdin", "eval 'y=2*x' --stdin <'" + values + "'", "0\n2\n"},
      {"units --batch", "units --batch <'" + lines + "'", "0\n0.277777777778\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string err = folder.file("err.txt"), status = folder.file("status.txt");
    const qz::testing::CliRun run = qz::testing::runShell("( '" + std::string(QZ_CLI_PATH) + "' " + c.arguments +
                                                          " 2>'" + err + "'; echo $? >'" + status + "' ) | head -n 2");
    EXPECT_EQ(run.out, c.firstLines);
    EXPECT_EQ(fileText(status), "1\n") << "the output could not all be written";
    EXPECT_EQ(fileText(err), "") << "nobody is left to tell";
  }
}

TEST(CliStreams, OutputThatCannotBeWrittenIsReported) {
  const qz::testing::CliRun run = qz::testing::runQzCli("eval 'y=x' --stdin >/dev/full", "1\n2\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Impossible d'écrire la sortie : No space left on device.\n");
}

// Starts qz-cli with its standard input, output and error on pipes, and
// Ctrl+C acting as it does in a terminal.
struct Child {
  pid_t pid = -1;
  int in = -1, out = -1, err = -1;
};

Child spawnQzCli(const std::vector<std::string>& arguments) {
  int in[2], out[2], err[2];
  EXPECT_EQ(::pipe(in), 0);
  EXPECT_EQ(::pipe(out), 0);
  EXPECT_EQ(::pipe(err), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) posix_spawn_file_actions_addclose(&actions, fd);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  std::vector<std::string> all{QZ_CLI_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  Child child;
  EXPECT_EQ(posix_spawn(&child.pid, QZ_CLI_PATH, &actions, &attributes, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  child.in = in[1];
  child.out = out[0];
  child.err = err[0];
  return child;
}

std::string readUntil(int fd, std::size_t size) {
  std::string text;
  char buffer[4096];
  while (text.size() < size) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

TEST(CliStreams, CtrlCEndsAStreamWithItsAnswersWritten) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"eval", "y=2*x", "--stdin"}, std::vector<std::string>{"units", "--batch", "m", "cm"}}) {
    SCOPED_TRACE(arguments[0]);
    Child child = spawnQzCli(arguments);
    ASSERT_GT(child.pid, 0);
    ASSERT_EQ(::write(child.in, "1\n2\n", 4), 4);
    // Each answer is written before the next line is waited for, as a
    // person typing in a terminal expects; the input stays open.
    const std::string answers = readUntil(child.out, arguments[0] == "eval" ? 4 : 8);
    EXPECT_EQ(answers, arguments[0] == "eval" ? "2\n4\n" : "100\n200\n");
    ::kill(child.pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
    ASSERT_TRUE(WIFEXITED(status)) << "stopped by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(readUntil(child.out, 1 << 20), "");
    EXPECT_EQ(readUntil(child.err, 1 << 20), "") << "no crash message";
    for (int fd : {child.in, child.out, child.err}) ::close(fd);
  }
}

}  // namespace
