#include "import/clear_order_tables.h"

#include "api/hotsync_api.h"
#include "core/cp1251.h"
#include "import/purge_journal.h"

namespace {

constexpr int kLogProgress = 19;

}  // namespace

void ClearOrderTables(TExchangeSession& session, TPalmCatalogue& catalogue, bool include_cash) {
  const std::string title = Ansi("ПК-PALM: Удаление старых данных");
  session.StatusText(title);
  const int answer = session.MessageBox(Ansi("Обмен завершен. Очистить таблицу заказов?"),
                                        Ansi("Удаление старых данных"), MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return;
  session.LogLine(title, kLogProgress);
  if (include_cash) {
    PurgeTogether(session, {&catalogue.ptOrder, &catalogue.ptOrderItem, &catalogue.ptCash});
  } else {
    PurgeTogether(session, {&catalogue.ptOrder, &catalogue.ptOrderItem});
  }
}
