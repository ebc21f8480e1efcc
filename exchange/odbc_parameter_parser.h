// Finds the named parameters (":name") of a statement text and makes the text the driver gets,
// with a question mark in place of every parameter and "::" turned into one literal colon.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TParsedStatement {
  std::string DriverText;
  // One entry per occurrence, in order of appearance.
  std::vector<std::string> Names;
};

// A colon outside single or double quotes starts a parameter unless a second colon follows; the
// name runs to a line feed, carriage return, space, ')', ',', ';' or the end, or is itself
// enclosed in double or single quotes. A colon with no name after it stays a colon.
TParsedStatement ParseStatementParameters(std::string_view text);
