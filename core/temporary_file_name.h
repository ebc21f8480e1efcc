// The name of the temporary file an atomic write makes beside its target ("Order.txt.tmp-PID"),
// and the test that recognises such a name again, so a cleaner matches exactly what writers make.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

// The path of the temporary file that this process writes before renaming it to `path`.
std::string TemporaryPathFor(const std::string& path);

// The writer's process ID when `file_name` is a temporary name ("NAME.tmp-PID" with a non-empty
// NAME and a decimal PID), nothing otherwise.
std::optional<pid_t> TemporaryFileWriter(std::string_view file_name);
