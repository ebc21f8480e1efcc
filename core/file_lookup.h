// File names in an exchange directory matched without regard to case: "customer.txt" finds
// "Customer.txt". Every existence test, open and delete of an exchange file goes through here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The path of the entry of dir whose name equals name ignoring case (an exact match first), or none.
// dir may end with '/' or not.
std::optional<std::string> FindFileNoCase(std::string_view dir, std::string_view name);
bool FileExistsNoCase(std::string_view dir, std::string_view name);
// The existing entry's path, or dir + name when there is none (the path to create).
std::string PathNoCase(std::string_view dir, std::string_view name);
// Deletes the file found ignoring case; false when there was none. Other failures throw Exception.
bool DeleteFileNoCase(std::string_view dir, std::string_view name);
// dir with one '/' at its end.
std::string WithTrailingSlash(std::string_view dir);
