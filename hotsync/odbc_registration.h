// Lets the build tree's ODBC drivers work with no set-up: unixODBC reads the odbcinst.ini that
// the build writes in etc/ beside bin/, unless the user chose a registration with ODBCSYSINI.
#pragma once

#include <string>

// Sets ODBCSYSINI to program_directory/../etc when ODBCSYSINI is unset and that folder holds
// odbcinst.ini.
void PointOdbcAtBuildRegistration(const std::string& program_directory);
