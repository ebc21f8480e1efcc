// Splits the drivers' SQL into words, quoted names, string literals, numbers and symbols.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TokenKind { Word, QuotedName, String, Number, Symbol, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // a quoted name or string without its quotes
  size_t position = 0;
};

// Throws DriverError 42000 on an unterminated quote or a character no token starts with.
std::vector<Token> Tokenize(std::string_view sql);
