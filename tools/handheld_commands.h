// The three commands of the handheld tool over a connected handheld directory: list its
// databases, dump one through the catalogue's field layout, load one from a semicolon file.
// Values travel as texts in the regional formats in force (the tool sets the C formats).
#pragma once

#include <ostream>
#include <string>

#include "palmdb/palm_catalogue.h"

// One line per database file of `directory`: name, type, creator, version and record count;
// a file that is no sound database gets a line naming it and what is wrong. Returns the number
// of such unreadable files.
int ListDatabases(const std::string& directory, std::ostream& out);

// The header line of field names, then one line per record (Windows-1251 bytes, lines ended by
// `line_end`, each converted by `convert` when given). Throws Exception for a database the
// catalogue does not know, EPalmSyncError 16387 for one the handheld does not hold.
void DumpDatabase(TPalmCatalogue& catalogue, const std::string& database, std::ostream& out,
                  const std::string& line_end, std::string (*convert)(std::string_view) = nullptr);

// Creates the database when missing and replaces its records by the rows of the semicolon file.
// Header names match the fields without regard to case; a field without a column stays empty.
// Every row is checked first (values that convert, no NUL byte, a record within the handheld's
// size), so a bad file leaves the database untouched; the handheld writes the new database
// aside and renames it over the old one when it is closed. Returns the number of records
// written. Errors name the file and line; after an error the caller disconnects discarding
// what is still open (TDeviceConnection::Discard), so nothing half-loaded is kept.
size_t LoadDatabase(TPalmCatalogue& catalogue, const std::string& database, const std::string& file);
