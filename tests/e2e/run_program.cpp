#include "tests/e2e/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

#include "core/atomic_file.h"

extern char** environ;

TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& scratch_directory) {
  const std::string out_path = scratch_directory + "/stdout.txt";
  const std::string err_path = scratch_directory + "/stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) throw std::runtime_error("cannot wait for " + program);
  TProgramRun run;
  run.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Out = ReadWholeFile(out_path);
  run.Err = ReadWholeFile(err_path);
  return run;
}
