// Growing a dBase table file in place: new records after the last one, the header's record count
// moved on only once they are whole on disk, so each insert costs what its own record costs.
#pragma once

#include <string>
#include <vector>

#include "odbc/dbase_table.h"

// Writes the rows after the table's last counted record and the end-of-file mark after them, then
// the new record count into the header; a failure part-way leaves the count, and so the table as
// every reader sees it, as it was. fields must be the file's own: a record length that differs
// from theirs throws. With durable, the records reach the disk before the count, and the count
// before the call returns. Values must already fit their fields. Throws DriverError HY000.
void AppendDbaseRecords(const std::string& path, const std::vector<DbaseField>& fields,
                        const std::vector<std::vector<Value>>& rows, bool durable);
