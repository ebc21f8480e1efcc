#include "exchange/odbc_connection_lines.h"

#include "core/collation.h"

bool IsVfpDriver(const std::string& driver_name) { return AnsiUpperCase(driver_name).find("VFP") != std::string::npos; }

std::vector<std::string> DbaseConnectionLines(const std::string& driver_name, const std::string& exchange_directory) {
  if (IsVfpDriver(driver_name))
    return {"DRIVER=" + driver_name, "SourceDB=" + exchange_directory,
            "SourceType=DBF",        "Exclusive=No",
            "BackgroundFetch=Yes",   "Collate=RUSSIAN"};
  return {"DRIVER=" + driver_name,
          "DefaultDir=" + exchange_directory,
          "SourceDB=" + exchange_directory,
          "SourceType=DBF",
          "Exclusive=No",
          "BackgroundFetch=Yes",
          "FIL=dBase III",
          "DriverId=21",
          "MaxBufferSize=2048",
          "PageTimeout=5"};
}

std::vector<std::string> AnswersConnectionLines(const std::string& database_path) {
  return {"DRIVER=Microsoft Access Driver (*.mdb)",
          "DriverId=25",
          "MaxBufferSize=2048",
          "PageTimeout=5",
          "DBQ=" + database_path,
          "FIL=MS Access"};
}
