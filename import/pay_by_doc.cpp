#include "import/pay_by_doc.h"

#include "core/file_lookup.h"
#include "import/import_step_tables.h"

namespace {

// Writes the documents with a payment; returns how many.
int32_t WritePayments(TExchangeSession& session, TpfgPalmRemoteTable& documents, TImportOutput& output) {
  int32_t payments = 0;
  output.Start(kPayByDocLayout);
  session.Progress->ProgressBar.SetMax(documents.RecordCount());
  const std::vector<TBoundMapping> bound = BindMappings(documents, output, kPayByDocMappings);
  TpfgPalmField& summa_pay = documents.FieldByName("SummaPay");
  while (!documents.Eof()) {
    session.Progress->ProgressBar.StepIt();
    if (summa_pay.AsFloat() > 0) {
      ++payments;
      output.Append();
      CopyMappedValues(bound, output);
      output.Post();
    }
    documents.Next();
  }
  return payments;
}

}  // namespace

void ImportPaymentsByDocuments(TExchangeSession& session, TPalmCatalogue& catalogue, TcsTXTTable& text_table) {
  TpfgPalmRemoteTable& documents = catalogue.ptDoc;
  if (!documents.Exists()) return;
  AnnounceStep(session, "PALM-ПК: Оплаты по документам отгрузки", 7);
  TTableCloser closer(documents);
  documents.Open();
  const std::unique_ptr<TImportOutput> output = MakeImportOutput(session, text_table);
  if (output != nullptr) {
    const int32_t payments = WritePayments(session, documents, *output);
    if (session.Format() == TExchangeFormat::XML) {
      // A packet is written only when it holds a payment.
      if (payments > 0) LogImportedCount(session, output->Save());
    } else {
      LogImportedCount(session, output->Save());
      if (payments == 0) DeleteFileNoCase(session.Directory, kPayByDocLayout.TxtFile);
    }
  }
  documents.Close();
}
