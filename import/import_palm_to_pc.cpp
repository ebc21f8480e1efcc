#include "import/import_palm_to_pc.h"

#include <exception>

#include "api/hotsync_api.h"
#include "core/cp1251.h"
#include "core/file_lookup.h"
#include "import/clear_order_tables.h"
#include "import/import_step_tables.h"

namespace {

// The records each step wrote in this session.
struct TImportCounters {
  int32_t Orders = 0;
  int32_t Cash = 0;
  int32_t RouteWork = 0;
  int32_t Protocol = 0;
  bool CashComplete = false;  // the cash step saved every record of the cash database
};

// Runs a step whose failure is shown in a box and lets the import go on; true when it ended well.
bool RunReportedStep(TExchangeSession& session, TPalmCatalogue& catalogue, const TImportStepDef& step,
                     TImportOutput* output, int32_t& counter, const char* failure_utf8) {
  try {
    RunImportStep(session, catalogue, step, output, counter);
    return true;
  } catch (const std::exception&) {
    session.MessageBox(Ansi(failure_utf8), Ansi("Ошибка"), MB_OK | MB_ICONERROR);
    return false;
  }
}

// The protocol is emptied on the handheld only once its records are saved in a file.
void ImportProtocol(TExchangeSession& session, TPalmCatalogue& catalogue, TImportOutput* output, int32_t& counter) {
  try {
    const bool ran = RunImportStep(session, catalogue, kProtocolStep, output, counter);
    if (ran && output != nullptr) catalogue.ptProtocol.EmptyTable();
  } catch (const std::exception&) {
    // A protocol that could not be taken stays on the handheld for the next exchange.
  }
}

void DeleteOutputFile(const TExchangeSession& session, const std::string& name) {
  if (!name.empty()) DeleteFileNoCase(session.Directory, name);
}

}  // namespace

int32_t ImportPalmToPc(TExchangeSession& session, TPalmCatalogue& catalogue, TcsTXTTable& text_table) {
  TImportCounters counters;
  const std::unique_ptr<TImportOutput> output = MakeImportOutput(session, text_table);
  int32_t order_lines = 0;
  RunImportStep(session, catalogue, kOrderStep, output.get(), counters.Orders);
  RunImportStep(session, catalogue, kOrderItemStep, output.get(), order_lines);
  counters.CashComplete = RunReportedStep(session, catalogue, kCashStep, output.get(), counters.Cash,
                                          "Ошибка при импорте документов оплат.") &&
                          output != nullptr;
  RunReportedStep(session, catalogue, kRouteStep, output.get(), counters.RouteWork,
                  "Ошибка при импорте маршрутных листов.");
  ImportProtocol(session, catalogue, output.get(), counters.Protocol);

  if (counters.Cash == 0) DeleteOutputFile(session, session.Files.Cash);
  if (counters.RouteWork == 0) DeleteOutputFile(session, session.Files.RouteOut);
  if (counters.Orders > 0) {
    // Cash records that did not all reach the file stay on the handheld.
    ClearOrderTables(session, catalogue, counters.CashComplete);
  } else {
    DeleteOutputFile(session, session.Files.Order);
    DeleteOutputFile(session, session.Files.OrderItem);
  }
  return counters.Orders;
}
