#include "export/document_route_steps.h"

#include <exception>

namespace {

using enum TInputKind;
using enum TColumnUse;

constexpr TReadOrder kById{"ID", "ID"};
constexpr TReadOrder kFileOrder{};
constexpr const char* kByDayNumberId[] = {"DayOfWeek", "Nomer", "Id"};

// The payment fields (NotePay, TimePay, SummaPay, DatePay, IdCashOrder, Selected) start empty.
constexpr TExportMapping kDocumentMappings[] = {{"Id", "Id", Integer},
                                                {"IdOwner", "IdOwner", Integer},
                                                {"IdInOwner", "IdInOwner", Integer},
                                                {"DateDoc", "DateDoc", Date},
                                                {"SrokOpl", "DatePaid", Date},
                                                {"NDoc", "NDoc", Text},
                                                {"Note", "Note", Text},
                                                {"IdCustomer", "IdCustomer", Integer},
                                                {"IdTradeAgent", "IdTradeAgent", Integer},
                                                {"IdCurrency", "IdCurrency", Integer},
                                                {"CurrencyCurs", "CurrencyCurs", Float},
                                                {"CurrencySumma", "CurrencySumma", Float},
                                                {"Summa", "Summa", Float},
                                                {"SummaReturn", "SummaReturn", Float},
                                                {"SummaSaldo", "SummaSaldo", Float},
                                                {"SummaPaid", "SummaPaid", Float}};

constexpr TExportMapping kRouteMappings[] = {{"Id", "Id", Integer},
                                             {"Code", "Code", Text, Required, Required, 15},
                                             {"Name", "Name", Text, Required, Required, 50},
                                             {"Address", "Address", Text, Required, Required, 80},
                                             {"MakeOrder", "MakeOrder", Integer, Optional, Optional, 0, 1, 1},
                                             {"MakeCash", "MakeCash", Integer, Optional, Optional, 0, 1, 1},
                                             {"MakePay", "MakePay", Integer, Optional, Optional, 0, 1, 1},
                                             {"MakeQuest", "MakeQuest", Integer, Optional, Optional, 0, 1, 1},
                                             {"IdCategory", "IdCategory", Integer, Optional, Optional},
                                             {"IdCustomer", "IdCustomer", Integer, Optional, Optional},
                                             {"Nomer", "Nomer", Integer, Optional, Optional},
                                             {"DayOfWeek", "DayOfWeek", Integer, Optional, Optional}};

}  // namespace

const TReferenceStepDef kDocumentStep{"ПК-PALM: Дебеторская задолженность",
                                      20,
                                      &TExchangeFileSet::Document,
                                      kById,
                                      kDocumentMappings,
                                      &TPalmCatalogue::ptDoc};
const TReferenceStepDef kRouteListStep{"ПК-PALM: Маршруты",
                                       21,
                                       &TExchangeFileSet::Route,
                                       kFileOrder,
                                       kRouteMappings,
                                       &TPalmCatalogue::ptRoute,
                                       kByDayNumberId,
                                       &TPalmCatalogue::ptRouteIndex,
                                       false,
                                       false};

void ExportRoutes(TExportContext& context) {
  if (!BeginReferenceStep(context, kRouteListStep)) return;
  try {
    ReadAndReplaceRecords(context, kRouteListStep);
  } catch (const std::exception&) {
    // A route that cannot be loaded leaves the handheld's route as it was; the export goes on.
  }
}
