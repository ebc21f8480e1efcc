// The connection lines the conduit gives TmDataBase: the dBase tables of the exchange directory
// (FoxPro or dBase family, chosen by the driver name) and the questionnaire answers database.
#pragma once

#include <string>
#include <vector>

// True when the driver name, in upper case, contains "VFP" (the FoxPro family).
bool IsVfpDriver(const std::string& driver_name);

// Six lines for the FoxPro family, ten for the dBase family; the directory ends with '/'.
std::vector<std::string> DbaseConnectionLines(const std::string& driver_name, const std::string& exchange_directory);

// The answers database at its full path.
std::vector<std::string> AnswersConnectionLines(const std::string& database_path);
