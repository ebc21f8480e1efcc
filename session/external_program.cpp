#include "session/external_program.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace {

// Closes the file actions whatever happens to the start.
class TSpawnActions {
 public:
  TSpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~TSpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  TSpawnActions(const TSpawnActions&) = delete;
  TSpawnActions& operator=(const TSpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// The program's path made absolute, so that changing into the working directory first
// does not change which file is started.
std::string AbsoluteProgramPath(const std::string& program) {
  if (program.empty() || program.front() == '/') return program;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(program, error);
  return error ? program : absolute.string();
}

}  // namespace

int RunExternalProgram(const std::string& program, const std::string& parameter, const std::string& working_directory) {
  if (program.empty()) return -1;
  const std::string path = AbsoluteProgramPath(program);
  TSpawnActions actions;
  if (!working_directory.empty() && posix_spawn_file_actions_addchdir_np(actions.get(), working_directory.c_str()) != 0)
    return -1;
  std::string argument0 = program;
  std::string argument1 = parameter;
  char* argv[] = {argument0.data(), argument1.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, path.c_str(), actions.get(), nullptr, argv, environ) != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}
