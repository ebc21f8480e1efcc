#include "import/purge_journal.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "api/hotsync_api.h"
#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "core/file_lookup.h"
#include "core/parse_integer.h"
#include "core/text_pieces.h"

namespace {

constexpr int kLogProgress = 19;
constexpr int kLogError = 21;
constexpr char kFirstLine[] = "ZembraToPalm purge journal 1";

// The journal, line by line:
//   ZembraToPalm purge journal 1
//   <database name> <record count> <record id> ...     one line per database, in purge order
//   end <number of database lines>
// It is written whole (temporary file, rename), so a journal that reads otherwise was damaged
// after it was written.

[[noreturn]] void Damaged(size_t line, const std::string& what) {
  throw EPurgeJournalDamaged("line " + std::to_string(line) + ": " + what);
}

TJournalEntry ParseEntry(std::string_view line, size_t number) {
  const std::vector<std::string_view> words = SplitAt(line, ' ');
  const std::optional<uint32_t> count = words.size() >= 2 ? ParseInteger<uint32_t>(words[1]) : std::nullopt;
  if (words[0].empty() || !count) Damaged(number, "a database name and a record count expected");
  if (words.size() != static_cast<size_t>(*count) + 2)
    Damaged(number, "the record count does not match the records listed");
  TJournalEntry entry{std::string(words[0]), {}};
  entry.RecordIds.reserve(*count);
  for (size_t i = 2; i < words.size(); ++i) {
    const std::optional<uint32_t> id = ParseInteger<uint32_t>(words[i]);
    if (!id) Damaged(number, "\"" + std::string(words[i]) + "\" is not a record ID");
    entry.RecordIds.push_back(*id);
  }
  return entry;
}

std::vector<uint32_t> RecordIdsOf(TpfgPalmRemoteTable& table) {
  table.Open();
  return table.ReadRecordIds();
}

void EmptyDatabase(TpfgPalmRemoteTable& table) {
  table.Open();
  table.EmptyTable();
  table.Close();
}

// Removes the journalled records still on the handheld; the whole database is purged when it
// holds nothing else (the common case: the purge never started).
void CompletePurge(TpfgPalmRemoteTable& table, const TJournalEntry& entry) {
  if (!table.Exists()) return;
  const std::unordered_set<uint32_t> journalled(entry.RecordIds.begin(), entry.RecordIds.end());
  const std::vector<uint32_t> present = RecordIdsOf(table);
  std::vector<uint32_t> to_delete;
  for (uint32_t id : present) {
    if (journalled.contains(id)) to_delete.push_back(id);
  }
  if (to_delete.size() == present.size()) {
    table.EmptyTable();
  } else {
    for (uint32_t id : to_delete) table.DeleteRecordById(id);
  }
  table.Close();
}

std::string JournalPath(const TExchangeSession& session) { return session.FilePath(kPurgeJournalName); }

void RemoveJournal(const std::string& path) {
  if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
    throw Exception("Cannot remove \"" + path + "\": " + std::strerror(errno));
  }
}

}  // namespace

std::string FormatPurgeJournal(const std::vector<TJournalEntry>& entries) {
  // The lists of a large handheld run to megabytes: room for the longest numbers is taken once
  // (and touched only where written), and the numbers are put together a piece at a time.
  size_t room = sizeof kFirstLine + 32;
  for (const TJournalEntry& entry : entries) room += entry.Database.size() + 22 + 11 * entry.RecordIds.size();
  std::string bytes;
  bytes.reserve(room);
  bytes.append(kFirstLine).push_back('\n');
  char piece[4096];
  size_t used = 0;
  const auto append_number = [&](size_t number) {
    if (used > sizeof piece - 21) bytes.append(piece, std::exchange(used, 0));
    piece[used++] = ' ';
    used = static_cast<size_t>(std::to_chars(piece + used, piece + sizeof piece, number).ptr - piece);
  };
  for (const TJournalEntry& entry : entries) {
    bytes += entry.Database;
    append_number(entry.RecordIds.size());
    for (uint32_t id : entry.RecordIds) append_number(id);
    bytes.append(piece, std::exchange(used, 0)).push_back('\n');
  }
  bytes += "end " + std::to_string(entries.size()) + "\n";
  return bytes;
}

std::vector<TJournalEntry> ParsePurgeJournal(std::string_view bytes) {
  const std::vector<std::string_view> lines = SplitLines(bytes);
  if (lines.empty() || lines[0] != kFirstLine) Damaged(1, "not a purge journal");
  if (lines.size() < 2) Damaged(lines.size(), "the closing line is missing");
  const std::string closing = "end " + std::to_string(lines.size() - 2);
  if (lines.back() != closing) Damaged(lines.size(), "\"" + closing + "\" expected");
  std::vector<TJournalEntry> entries;
  for (size_t i = 1; i + 1 < lines.size(); ++i) entries.push_back(ParseEntry(lines[i], i + 1));
  return entries;
}

void PurgeTogether(TExchangeSession& session, const std::vector<TpfgPalmRemoteTable*>& tables) {
  std::vector<TJournalEntry> entries;
  for (TpfgPalmRemoteTable* table : tables) {
    entries.push_back({table->TableName(), RecordIdsOf(*table)});
    table->Close();
  }
  const std::string path = JournalPath(session);
  WriteFileAtomic(path, FormatPurgeJournal(entries));
  for (TpfgPalmRemoteTable* table : tables) EmptyDatabase(*table);
  RemoveJournal(path);
}

bool RollForwardPurges(TExchangeSession& session, TPalmCatalogue& catalogue) {
  const std::optional<std::string> path = FindFileNoCase(session.Directory, kPurgeJournalName);
  if (!path) return true;
  std::vector<TJournalEntry> entries;
  std::vector<TpfgPalmRemoteTable*> tables;
  try {
    entries = ParsePurgeJournal(ReadWholeFile(*path));
    for (const TJournalEntry& entry : entries) {
      TpfgPalmRemoteTable* table = catalogue.FindByDatabaseName(entry.Database);
      if (table == nullptr) throw EPurgeJournalDamaged("\"" + entry.Database + "\" is not a database of the handheld");
      tables.push_back(table);
    }
  } catch (const Exception& error) {
    const std::string text = Ansi("Журнал удаления") + " \"" + *path + "\" " +
                             Ansi("поврежден, данные на устройстве не удалены") + ": " + error.what();
    session.LogLine(session.ConduitName + " - " + text, kLogError);
    session.MessageBox(text, Ansi("Ошибка"), MB_OK | MB_ICONERROR);
    return false;
  }
  std::string names;
  for (const TJournalEntry& entry : entries) names += (names.empty() ? "" : ", ") + entry.Database;
  session.LogLine(Ansi("ПК-PALM: Завершение прерванного удаления: ") + names, kLogProgress);
  for (size_t i = 0; i < entries.size(); ++i) CompletePurge(*tables[i], entries[i]);
  RemoveJournal(*path);
  return true;
}
