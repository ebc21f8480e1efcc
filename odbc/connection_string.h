// Connection strings: "KEY=value;KEY={value; with semicolons}" into keys (upper case) and values.
#pragma once

#include <string_view>

#include "odbc/data_source.h"

// Throws DriverError 08001 on a pair without "=" or an unclosed brace.
ConnectionAttributes ParseConnectionString(std::string_view text);
