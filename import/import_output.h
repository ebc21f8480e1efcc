// TImportOutput: where an import step writes the records it reads from the handheld. One
// implementation per exchange format that has an output file: the delimited text file over the
// text table, the XML data packet over an in-memory dataset. Under "DBF" a step has none.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "exchange/client_dataset.h"
#include "exchange/field_defs.h"
#include "exchange/txt_table.h"
#include "session/exchange_session.h"

// One field of an XML packet: name, type and, for texts, the width.
struct TXmlFieldSpec {
  const char* Name;
  TFieldType Type;
  int Size = 0;
};

// What becomes of a file of the same name that an earlier exchange left.
enum class TEarlierFile {
  None,      // there is none (the pre-exchange checks refuse an exchange while there is)
  Replaced,  // deleted first: its records are still on the handheld
  Extended,  // its records are kept and the new ones follow: the handheld no longer holds them
};

// The file of a step in both forms.
struct TOutputLayout {
  const char* TxtFile;
  const char* TxtHeader;  // the header line, exactly as the accounting system expects it
  TEarlierFile Earlier;
  const char* XmlFile;
  std::span<const TXmlFieldSpec> XmlFields;
};

class TImportOutput {
 public:
  virtual ~TImportOutput() = default;

  // A fresh output with the layout's columns (the text file gets its header line now), or
  // the earlier file's records when the layout extends it.
  virtual void Start(const TOutputLayout& layout) = 0;
  // The column of that name (ignoring case) as a slot for the setters. Throws when it is missing.
  virtual int Bind(std::string_view name) = 0;
  // Room for that many more records, asked for at once.
  virtual void Reserve(int records) = 0;

  // One record: Append, the setters for the slots that have a value, Post.
  virtual void Append() = 0;
  virtual void SetInteger(int slot, int32_t value) = 0;
  virtual void SetFloat(int slot, double value) = 0;
  virtual void SetDateTime(int slot, TDateTime value) = 0;
  virtual void SetText(int slot, std::string_view value) = 0;
  virtual void Post() = 0;

  // Writes the file whole (atomically) and returns the number of records in it; the output is
  // then empty again.
  virtual int Save() = 0;
};

// The output of the session's format: text for "TXT" and "TXTINDBFOUT", a packet for "XML",
// none (nullptr) for "DBF". text_table is the session's shared delimited table.
std::unique_ptr<TImportOutput> MakeImportOutput(TExchangeSession& session, TcsTXTTable& text_table);
