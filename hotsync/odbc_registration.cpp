#include "hotsync/odbc_registration.h"

#include <stdlib.h>

#include <filesystem>

void PointOdbcAtBuildRegistration(const std::string& program_directory) {
  if (getenv("ODBCSYSINI") != nullptr) return;
  std::error_code error;
  const std::filesystem::path etc =
      std::filesystem::weakly_canonical(std::filesystem::path(program_directory) / ".." / "etc", error);
  if (error || !std::filesystem::is_regular_file(etc / "odbcinst.ini", error)) return;
  setenv("ODBCSYSINI", etc.c_str(), 1);
}
