#pragma once
// Tests that run one of their own program's tests again in a fresh process
// (or under a tracer) start it through here, so that the child runs the
// test it is named on its command line whatever the parent was run with.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace testsupport {

// This program's own file.
inline std::string SelfExecutable() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

// True for a variable through which a test runner steers GoogleTest as a
// whole: its flags (a shard, a list, repeats, a report file) and the files
// it shares with the runner. A child handed one of them may run no test at
// all, or write over the parent's report.
inline bool IsTestRunnerVariable(const std::string& entry) {
  static const char* const RUNNER[] = {"TEST_PREMATURE_EXIT_FILE", "XML_OUTPUT_FILE", "TESTBRIDGE_TEST_ONLY",
                                       "TESTBRIDGE_TEST_RUNNER_FAIL_FAST"};
  const std::string name = entry.substr(0, entry.find('='));
  if (name.rfind("GTEST_", 0) == 0) return true;
  for (const char* runner : RUNNER)
    if (name == runner) return true;
  return false;
}

// The environment for such a child: this process's own, less the test
// runner's variables, with `set` added (each replacing a value of its name).
inline std::vector<std::string> ChildTestEnvironment(const std::vector<std::pair<std::string, std::string>>& set = {}) {
  std::vector<std::string> env;
  for (const auto& [name, value] : set) env.push_back(name + "=" + value);
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool replaced = IsTestRunnerVariable(entry);
    for (const auto& one : set) replaced = replaced || entry.compare(0, one.first.size() + 1, one.first + "=") == 0;
    if (!replaced) env.push_back(entry);
  }
  return env;
}

// Runs argv (argv[0] looked up on PATH when it has no '/') with the given
// environment, its output thrown away when `quiet`, and waits for it.
// Returns its wait status, or -1 when it could not be started.
inline int RunChildProcess(std::vector<std::string> argv, std::vector<std::string> env, bool quiet = false) {
  std::vector<char*> args, envp;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  pid_t child = 0;
  const int started = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) != child)
    if (errno != EINTR) return -1;
  return status;
}

// True when the child ran to its end and exited with 0.
inline bool ExitedCleanly(int status) { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0; }

}  // namespace testsupport
