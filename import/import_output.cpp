#include "import/import_output.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/file_lookup.h"
#include "core/line_file_writer.h"
#include "import/delimited_text.h"

namespace {

// True when the directory holds a file of that name (ignoring case) that is not empty.
bool HasContent(const std::string& directory, const std::string& name) {
  const std::optional<std::string> path = FindFileNoCase(directory, name);
  std::error_code error;
  return path && std::filesystem::file_size(*path, error) > 0 && !error;
}

// The file is written while the records are made, line by line: only the record being made is
// held, and the file replaces its target, whole, at Save. A file that cannot be written fails at
// Save, as one written whole there would: every record is still made and counted first.
class TTextImportOutput : public TImportOutput {
 public:
  TTextImportOutput(TExchangeSession& session, TcsTXTTable& table) : session_(session), table_(table) {}

  void Start(const TOutputLayout& layout) override {
    table_.Clear();
    cells_.clear();
    file_.reset();
    table_.Directory = session_.Directory;
    table_.Delimiter = ';';
    table_.FileName = layout.TxtFile;
    if (layout.Earlier == TEarlierFile::Replaced) DeleteFileNoCase(session_.Directory, layout.TxtFile);
    // A new file reaches the disk with its header line and records in one step, at Save.
    if (layout.Earlier != TEarlierFile::Extended || !HasContent(session_.Directory, layout.TxtFile)) {
      table_.StartNew(layout.TxtHeader);
    } else if (!table_.Load()) {
      throw Exception(Ansi("Файл") + " \"" + table_.Path() + "\" " + Ansi("не найден"));
    }
    count_ = table_.RecordCount();
    failure_ = nullptr;
    Write([&] {
      file_.emplace(PathNoCase(session_.Directory, layout.TxtFile));
      table_.WriteLines(*file_);
    });
  }

  int Bind(std::string_view name) override {
    cells_.push_back(&table_.FieldByName(name));
    return static_cast<int>(cells_.size()) - 1;
  }

  void Reserve(int) override {}
  void Append() override { table_.EmptyFields(); }
  void SetInteger(int slot, int32_t value) override { cells_[slot]->SetAsInteger(value); }
  void SetFloat(int slot, double value) override { cells_[slot]->SetAsFloat(value); }
  void SetDateTime(int slot, TDateTime value) override { cells_[slot]->SetAsDateTime(value); }
  void SetText(int slot, std::string_view value) override {
    if (IsCellTextAsItIs(value, table_.Delimiter)) {
      cells_[slot]->SetAsString(value);
    } else {
      cells_[slot]->SetAsString(DelimitedCellText(value, table_.Delimiter));
    }
  }
  void Post() override {
    Write([&] { table_.WriteRecordLine(*file_); });
    ++count_;
  }

  int Save() override {
    Write([&] { file_->Commit(); });
    file_.reset();
    cells_.clear();
    table_.Clear();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return count_;
  }

 private:
  TExchangeSession& session_;
  TcsTXTTable& table_;
  std::vector<TcsTXTField*> cells_;
  // Writes unless an earlier write failed; a failure is kept for Save and the file given up.
  template <class Writing>
  void Write(Writing writing) {
    if (failure_) return;
    try {
      writing();
    } catch (...) {
      failure_ = std::current_exception();
      file_.reset();
    }
  }

  std::optional<TLineFileWriter> file_;
  std::exception_ptr failure_;  // why the file could not be written
  int count_ = 0;               // the records in the file
};

class TPacketImportOutput : public TImportOutput {
 public:
  explicit TPacketImportOutput(TExchangeSession& session) : session_(session) {}

  void Start(const TOutputLayout& layout) override {
    fields_.clear();
    dataset_ = std::make_unique<TClientDataSet>();
    file_ = layout.XmlFile;
    if (layout.Earlier == TEarlierFile::Extended && HasContent(session_.Directory, file_)) {
      dataset_->LoadFromFile(PathNoCase(session_.Directory, file_));
      return;
    }
    for (const TXmlFieldSpec& field : layout.XmlFields) dataset_->FieldDefs().Add(field.Name, field.Type, field.Size);
    dataset_->CreateDataSet();
  }

  int Bind(std::string_view name) override {
    fields_.push_back(&dataset_->FieldByName(name));
    return static_cast<int>(fields_.size()) - 1;
  }

  void Reserve(int records) override { dataset_->Reserve(records); }
  void Append() override { dataset_->Append(); }
  void SetInteger(int slot, int32_t value) override { fields_[slot]->SetAsInteger(value); }
  void SetFloat(int slot, double value) override { fields_[slot]->SetAsFloat(value); }
  void SetDateTime(int slot, TDateTime value) override { fields_[slot]->SetAsDateTime(value); }
  void SetText(int slot, std::string_view value) override { fields_[slot]->SetAsString(value); }
  void Post() override { dataset_->Post(); }

  int Save() override {
    dataset_->SaveToFile(PathNoCase(session_.Directory, file_));
    const int count = dataset_->RecordCount();
    fields_.clear();
    dataset_->EmptyDataSet();
    dataset_->Close();
    dataset_.reset();
    return count;
  }

 private:
  TExchangeSession& session_;
  std::unique_ptr<TClientDataSet> dataset_;
  std::string file_;
  std::vector<TField*> fields_;
};

}  // namespace

std::unique_ptr<TImportOutput> MakeImportOutput(TExchangeSession& session, TcsTXTTable& text_table) {
  switch (session.Format()) {
    case TExchangeFormat::TXT:
    case TExchangeFormat::TXTINDBFOUT:
      return std::make_unique<TTextImportOutput>(session, text_table);
    case TExchangeFormat::XML:
      return std::make_unique<TPacketImportOutput>(session);
    case TExchangeFormat::DBF:
      break;
  }
  return nullptr;
}
