// Purges of several handheld databases that take effect together or not at all: a journal in
// the exchange directory names the databases and their records before the first purge and is
// removed after the last; a session that finds one completes the purges before anything else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

// The journal's file name in the exchange directory.
inline constexpr char kPurgeJournalName[] = "ZembraToPalm.purge";

// A journal that cannot be read as one; nothing is purged on its account.
class EPurgeJournalDamaged : public Exception {
 public:
  using Exception::Exception;
};

// One database of a journal and the unique IDs of the records it held when the journal was written.
struct TJournalEntry {
  std::string Database;
  std::vector<uint32_t> RecordIds;
  bool operator==(const TJournalEntry&) const = default;
};

// The journal's bytes, and back. Parsing throws EPurgeJournalDamaged saying what is wrong.
std::string FormatPurgeJournal(const std::vector<TJournalEntry>& entries);
std::vector<TJournalEntry> ParsePurgeJournal(std::string_view bytes);

// Empties the tables as one step: records their records in the journal, purges them in the
// order given, removes the journal. Handheld and file errors pass (the journal then stays).
void PurgeTogether(TExchangeSession& session, const std::vector<TpfgPalmRemoteTable*>& tables);

// Completes the purges of a journal an interrupted session left, logs them and removes the
// journal; records entered on the handheld since then are kept. Returns false (after an error
// line in the log and a message box) when the journal is damaged: it is kept and nothing is purged.
bool RollForwardPurges(TExchangeSession& session, TPalmCatalogue& catalogue);
