#include "exchange/txt_table.h"

#include <algorithm>
#include <cstring>

#include "core/atomic_file.h"
#include "core/collation.h"
#include "core/cp1251.h"
#include "core/file_lookup.h"
#include "core/release_room.h"
#include "core/text_pieces.h"
#include "exchange/exchange_errors.h"
#include "exchange/text_lines.h"
#include "exchange/txt_key_index.h"

TcsTXTTable::TcsTXTTable(TMessageSink sink) : sink_(std::move(sink)) {}

std::string TcsTXTTable::Path() const {
  if (Directory.empty()) return FileName;
  return WithTrailingSlash(Directory) + FileName;
}

std::string_view TcsTXTTable::LookupDirectory() const {
  return Directory.empty() ? std::string_view(".") : std::string_view(Directory);
}

void TcsTXTTable::ShowError(const std::string& text) const {
  if (sink_) sink_(text, Ansi("Ошибка"));
}

void TcsTXTTable::Clear() {
  ReleaseRoom(lines_);
  posted_.Clear();
  content_ = TFileBytes();
  fields_.clear();
  field_index_.clear();
  ReleaseRoom(key_index_);
  indexed_ = false;
  key_position_ = -1;
}

bool TcsTXTTable::Load() {
  const std::optional<std::string> found = FindFileNoCase(LookupDirectory(), FileName);
  if (!found) {
    ShowError(Ansi("Файл") + " \"" + Path() + "\" " + Ansi("не найден"));
    return false;
  }
  TFileBytes bytes = ReadFileBytes(*found);
  std::vector<std::string_view> lines = SplitLines(bytes.View());
  if (bytes.View().find('\0') != std::string_view::npos) {
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].find('\0') != std::string::npos) {
        throw ETXTTableError(Path() + ": line " + std::to_string(i + 1) + " holds a NUL byte");
      }
    }
  }
  Adopt(std::move(bytes), std::move(lines));
  return true;
}

void TcsTXTTable::StartNew(std::string_view header) {
  if (header.find('\0') != std::string_view::npos) throw ETXTTableError(Path() + ": line 1 holds a NUL byte");
  auto copy = std::make_unique_for_overwrite<char[]>(header.size());
  if (!header.empty()) std::memcpy(copy.get(), header.data(), header.size());
  TFileBytes content(std::move(copy), header.size());
  std::vector<std::string_view> lines{content.View()};
  Adopt(std::move(content), std::move(lines));
}

void TcsTXTTable::Adopt(TFileBytes content, std::vector<std::string_view> lines) {
  std::vector<std::string> names = lines.empty() ? std::vector<std::string>() : ParseHeaderNames(lines[0], Delimiter);
  if (names.empty()) throw ETXTTableError(Path() + ": the header line holds no field names");

  Clear();
  content_ = std::move(content);
  lines_ = std::move(lines);
  for (std::string& name : names) {
    const std::string key = AnsiUpperCase(name);
    field_index_.emplace(key, static_cast<int>(fields_.size()));
    fields_.push_back(std::make_unique<TcsTXTField>(std::move(name)));
  }
  record_count_ = static_cast<int>(lines_.size()) - 1;
  if (record_count_ > 0) {
    GoTo(1);
  } else {
    rec_no_ = 1;
  }
}

void TcsTXTTable::ParseLine(int n) {
  SplitRecordLine(lines_[n], Delimiter, FieldCount(),
                  [this](int i, std::string_view value) { fields_[i]->ShowText(value); });
}

void TcsTXTTable::GoTo(int n) {
  if (n >= 1 && n <= record_count_ && n < static_cast<int>(lines_.size())) {
    rec_no_ = n;
    ParseLine(n);
  } else if (n == record_count_ + 1) {
    rec_no_ = n;
  } else {
    ShowError(Ansi("Попытка обращения к несуществующей записи"));
  }
}

void TcsTXTTable::Append() {
  lines_.emplace_back();
  record_count_ = static_cast<int>(lines_.size()) - 1;
  // The new record's line is empty: every field starts without a value.
  rec_no_ = record_count_;
  EmptyFields();
}

void TcsTXTTable::Post() {
  if (rec_no_ < 1 || rec_no_ >= static_cast<int>(lines_.size())) {
    throw ETXTTableError(Path() + ": no current record to post");
  }
  const size_t size = RecordLineSize();
  char* const line = posted_.Take(size);
  WriteRecordLine(line);
  lines_[rec_no_] = std::string_view(line, size);
}

size_t TcsTXTTable::RecordLineSize() const {
  size_t size = 0;
  for (const auto& field : fields_) size += field->AsString().size() + 1;
  return size;
}

char* TcsTXTTable::WriteRecordLine(char* out) const {
  for (const auto& field : fields_) {
    const std::string_view value = field->AsString();
    out = std::copy(value.begin(), value.end(), out);
    *out++ = Delimiter;
  }
  return out;
}

void TcsTXTTable::WriteLines(TLineFileWriter& out) const {
  for (const std::string_view line : lines_) out.WriteLine(line);
}

void TcsTXTTable::EmptyFields() {
  for (const auto& field : fields_) field->ShowText({});
}

void TcsTXTTable::WriteRecordLine(TLineFileWriter& out) const {
  out.EndLine(WriteRecordLine(out.LineRoom(RecordLineSize())));
}

bool TcsTXTTable::Save() {
  TLineFileWriter file(PathNoCase(LookupDirectory(), FileName));
  WriteLines(file);
  file.Commit();
  return true;
}

TcsTXTField* TcsTXTTable::FindField(std::string_view name) {
  const auto found = field_index_.find(AnsiUpperCase(name));
  return found == field_index_.end() ? nullptr : fields_[found->second].get();
}

TcsTXTField& TcsTXTTable::FieldByName(std::string_view name) {
  if (TcsTXTField* field = FindField(name)) return *field;
  const std::string text = Ansi("Поля") + " \"" + std::string(name) + "\" " + Ansi("нет в таблице") + " " + FileName;
  ShowError(text);
  throw ETXTFieldNotFound(text);
}

void TcsTXTTable::SortBy(std::string_view name) {
  const TcsTXTField& key_field = FieldByName(name);
  int key_column = 0;
  while (fields_[key_column].get() != &key_field) ++key_column;
  std::vector<std::string> keys;
  std::vector<int> line_numbers;
  keys.reserve(record_count_);
  line_numbers.reserve(record_count_);
  for (int n = 1; n <= record_count_ && n < static_cast<int>(lines_.size()); ++n) {
    std::string_view value;
    SplitRecordLine(lines_[n], Delimiter, key_column + 1, [&](int i, std::string_view text) {
      if (i == key_column) value = text;
    });
    keys.push_back(TextIndexKey(key_field.FieldName(), value));
    line_numbers.push_back(n);
  }
  key_index_ = SortKeyEntries(keys, line_numbers);
  indexed_ = true;
  GoTo(1);
  key_position_ = -1;
  Next();
}

void TcsTXTTable::First() {
  GoTo(1);
  if (indexed_) {
    key_position_ = -1;
    Next();
  }
}

void TcsTXTTable::Next() {
  if (!indexed_) {
    if (rec_no_ <= record_count_) GoTo(rec_no_ + 1);
    return;
  }
  const int count = static_cast<int>(key_index_.size());
  if (key_position_ < count - 1) {
    ++key_position_;
    GoTo(key_index_[key_position_]);
  } else {
    if (key_position_ == count - 1 && count > 0) GoTo(key_index_[key_position_]);
    key_position_ = count;
  }
}

bool TcsTXTTable::Eof() const {
  if (indexed_) return key_position_ == static_cast<int>(key_index_.size());
  return rec_no_ == record_count_ + 1;
}
