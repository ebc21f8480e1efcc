#include "import/import_phase.h"

#include "api/hotsync_api.h"
#include "core/cp1251.h"
#include "exchange/txt_table.h"
#include "import/exchange_questionnaires.h"
#include "import/import_palm_to_dbf.h"
#include "import/import_palm_to_pc.h"
#include "import/pay_by_doc.h"
#include "import/purge_journal.h"
#include "palmdb/palm_catalogue.h"

int32_t RunImportPhase(TExchangeSession& session) {
  TPalmCatalogue catalogue;
  TcsTXTTable text_table([&session](const std::string& text, const std::string& caption) {
    session.MessageBox(text, caption, MB_OK | MB_ICONERROR);
  });
  const int32_t orders = session.Format() == TExchangeFormat::TXTINDBFOUT
                             ? ImportPalmToDbf(session, catalogue)
                             : ImportPalmToPc(session, catalogue, text_table);
  ImportPaymentsByDocuments(session, catalogue, text_table);
  ExchangeQuestionnaires(session, catalogue);
  return orders;
}

bool RollForwardInterruptedPurges(TExchangeSession& session) {
  TPalmCatalogue catalogue;
  return RollForwardPurges(session, catalogue);
}
