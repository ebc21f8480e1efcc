// The key index of the text table: entries "key=line" ordered by the desktop collation, so IDs
// (zero-padded to 9 digits) come in numeric order and other keys in upper-cased text order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The key of one record: for the field "ID" (any case) the value zero-padded on the left to 9
// characters or its last 9 characters; for any other field the value in upper case.
std::string TextIndexKey(std::string_view field_name, std::string_view value);

// The line numbers of the entries key + "=" + line, sorted by the whole entry text.
std::vector<int> SortKeyEntries(const std::vector<std::string>& keys, const std::vector<int>& lines);
