#include "odbc/sql_tokenizer.h"

#include <cctype>

#include "odbc/driver_error.h"

namespace {

bool IsWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }

// A quoted text ending at the next unpaired quote; a doubled quote stands for itself.
size_t ReadQuoted(std::string_view sql, size_t start, char quote, std::string& text) {
  for (size_t pos = start + 1; pos < sql.size(); ++pos) {
    if (sql[pos] != quote) {
      text += sql[pos];
    } else if (pos + 1 < sql.size() && sql[pos + 1] == quote) {
      text += quote;
      ++pos;
    } else {
      return pos + 1;
    }
  }
  throw DriverError("42000", std::string("Unterminated ") + (quote == '"' ? "quoted name" : "string") +
                                 " starting at position " + std::to_string(start + 1));
}

}  // namespace

std::vector<Token> Tokenize(std::string_view sql) {
  std::vector<Token> tokens;
  size_t pos = 0;
  while (pos < sql.size()) {
    const unsigned char c = static_cast<unsigned char>(sql[pos]);
    if (std::isspace(c)) {
      ++pos;
      continue;
    }
    Token token;
    token.position = pos;
    if (c == '"' || c == '\'') {
      token.kind = c == '"' ? TokenKind::QuotedName : TokenKind::String;
      pos = ReadQuoted(sql, pos, static_cast<char>(c), token.text);
    } else if (std::isdigit(c) ||
               (c == '-' && pos + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[pos + 1])))) {
      token.kind = TokenKind::Number;
      size_t end = pos + 1;
      while (end < sql.size() && (std::isdigit(static_cast<unsigned char>(sql[end])) || sql[end] == '.')) ++end;
      token.text = std::string(sql.substr(pos, end - pos));
      pos = end;
    } else if (IsWordByte(c)) {
      token.kind = TokenKind::Word;
      size_t end = pos;
      while (end < sql.size() && IsWordByte(static_cast<unsigned char>(sql[end]))) ++end;
      token.text = std::string(sql.substr(pos, end - pos));
      pos = end;
    } else if (std::string_view("(),*?;").find(static_cast<char>(c)) != std::string_view::npos) {
      token.kind = TokenKind::Symbol;
      token.text = std::string(1, static_cast<char>(c));
      ++pos;
    } else {
      throw DriverError("42000", "Unexpected character '" + std::string(1, static_cast<char>(c)) + "' at position " +
                                     std::to_string(pos + 1));
    }
    tokens.push_back(std::move(token));
  }
  tokens.push_back(Token{TokenKind::End, "", sql.size()});
  return tokens;
}
