#include "odbc/sql_statement.h"

#include <strings.h>

#include <charconv>

#include "odbc/driver_error.h"
#include "odbc/sql_tokenizer.h"

namespace {

class Parser {
 public:
  explicit Parser(std::string_view sql) : sql_(sql), tokens_(Tokenize(sql)) {}

  SqlStatement Statement() {
    SqlStatement statement;
    if (TakeWord("CREATE")) {
      statement = CreateTable();
    } else if (TakeWord("INSERT")) {
      statement = Insert();
    } else if (TakeWord("SELECT")) {
      statement = Select();
    } else {
      Fail("CREATE TABLE, INSERT INTO or SELECT");
    }
    TakeSymbol(";");
    if (Current().kind != TokenKind::End) Fail("the end of the statement");
    return statement;
  }

 private:
  const Token& Current() const { return tokens_[index_]; }

  [[noreturn]] void Fail(const std::string& expected) const {
    const Token& token = Current();
    const std::string found = token.kind == TokenKind::End ? "the end of the statement" : "\"" + token.text + "\"";
    throw DriverError("42000", "Cannot parse the statement \"" + std::string(sql_) + "\": expected " + expected +
                                   " at position " + std::to_string(token.position + 1) + ", found " + found);
  }

  bool TakeWord(const char* word) {
    if (Current().kind != TokenKind::Word || strcasecmp(Current().text.c_str(), word) != 0) return false;
    ++index_;
    return true;
  }
  void ExpectWord(const char* word) {
    if (!TakeWord(word)) Fail(word);
  }
  bool TakeSymbol(const char* symbol) {
    if (Current().kind != TokenKind::Symbol || Current().text != symbol) return false;
    ++index_;
    return true;
  }
  void ExpectSymbol(const char* symbol) {
    if (!TakeSymbol(symbol)) Fail(std::string("\"") + symbol + "\"");
  }

  std::string Name(const char* what) {
    if (Current().kind != TokenKind::Word && Current().kind != TokenKind::QuotedName) Fail(what);
    if (Current().text.empty()) Fail(what);
    return tokens_[index_++].text;
  }

  int Integer(const char* what) {
    int number = 0;
    const std::string& text = Current().text;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (Current().kind != TokenKind::Number || error != std::errc() || end != text.data() + text.size() || number < 0) {
      Fail(what);
    }
    ++index_;
    return number;
  }

  ColumnDefinition Column() {
    ColumnDefinition column;
    column.name = Name("a column name");
    if (TakeWord("INTEGER") || TakeWord("INT")) {
      column.type = ColumnType::Integer;
    } else if (TakeWord("NUMERIC") || TakeWord("DECIMAL")) {
      column.type = ColumnType::Numeric;
    } else if (TakeWord("FLOAT") || TakeWord("DOUBLE")) {
      column.type = ColumnType::Float;
    } else if (TakeWord("DATE")) {
      column.type = ColumnType::Date;
    } else if (TakeWord("CHAR") || TakeWord("VARCHAR")) {
      column.type = ColumnType::Char;
    } else if (TakeWord("LOGICAL")) {
      column.type = ColumnType::Logical;
    } else {
      Fail("a column type (Integer, Numeric, Float, Date, Char or Logical) for " + column.name);
    }
    if (TakeSymbol("(")) {
      column.width = Integer("a column width");
      if (TakeSymbol(",")) column.decimals = Integer("a number of decimals");
      ExpectSymbol(")");
    }
    if (column.type == ColumnType::Char && (column.width < 1 || column.width > 254)) {
      Fail("Char(1) to Char(254) for " + column.name);
    }
    return column;
  }

  CreateTableStatement CreateTable() {
    ExpectWord("TABLE");
    CreateTableStatement statement;
    statement.table = Name("a table name");
    ExpectSymbol("(");
    do {
      statement.columns.push_back(Column());
    } while (TakeSymbol(","));
    ExpectSymbol(")");
    return statement;
  }

  // The whole of a number token as a T; anything left over fails.
  template <typename T>
  T Number(const std::string& text) {
    T number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) Fail("a number");
    return number;
  }

  InsertValue Literal(int& parameter_count) {
    InsertValue value;
    const Token& token = Current();
    if (TakeSymbol("?")) {
      value.parameter = parameter_count++;
      return value;
    }
    if (TakeWord("NULL")) return value;
    if (token.kind == TokenKind::String) {
      value.literal = token.text;
    } else if (token.kind == TokenKind::Number) {
      if (token.text.find('.') == std::string::npos) {
        value.literal = Number<int64_t>(token.text);
      } else {
        value.literal = Number<double>(token.text);
      }
    } else {
      Fail("\"?\", a string, a number or NULL");
    }
    ++index_;
    return value;
  }

  InsertStatement Insert() {
    ExpectWord("INTO");
    InsertStatement statement;
    statement.table = Name("a table name");
    ExpectSymbol("(");
    do {
      statement.columns.push_back(Name("a column name"));
    } while (TakeSymbol(","));
    ExpectSymbol(")");
    ExpectWord("VALUES");
    ExpectSymbol("(");
    do {
      statement.values.push_back(Literal(statement.parameter_count));
    } while (TakeSymbol(","));
    if (statement.values.size() != statement.columns.size()) {
      throw DriverError("21S01", "The statement \"" + std::string(sql_) + "\" names " +
                                     std::to_string(statement.columns.size()) + " columns but gives " +
                                     std::to_string(statement.values.size()) + " values");
    }
    ExpectSymbol(")");
    return statement;
  }

  SelectStatement Select() {
    ExpectSymbol("*");
    ExpectWord("FROM");
    SelectStatement statement;
    statement.table = Name("a table name");
    if (TakeWord("ORDER")) {
      ExpectWord("BY");
      do {
        statement.order_by.push_back(Name("a column name"));
      } while (TakeSymbol(","));
    }
    return statement;
  }

  std::string_view sql_;
  std::vector<Token> tokens_;
  size_t index_ = 0;
};

}  // namespace

SqlStatement ParseSqlStatement(std::string_view sql) { return Parser(sql).Statement(); }
