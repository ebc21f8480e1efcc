// Tests only: points unixODBC, before the first connection, at an odbcinst.ini of the test's own
// that registers Debian's SQLite driver and, when the build has written them, our own drivers.
#pragma once

#include <string>

// The name the SQLite driver is registered under.
inline constexpr const char* kSqliteTestDriver = "SQLite3 Layer Test";

// Writes the file and sets ODBCSYSINI once per process; safe to call from every test.
void UseTestDriverRegistry();

// True when the build's own registry (ZP_BIN_DIR/../etc/odbcinst.ini) names the driver.
bool BuildRegistersDriver(const std::string& driver_name);
