#include "export/common_steps.h"

#include <exception>

#include "core/cp1251.h"

namespace {

using enum TInputKind;
using enum TColumnUse;

constexpr int kLogError = 21;
constexpr TReadOrder kById{"ID", "ID"};
constexpr TReadOrder kFileOrder{};

constexpr TExportMapping kTypePaymentMappings[] = {
    {"ID", "Id", Integer}, {"Name", "Name", Text}, {"DayToOpl", "DayToOpl", Integer, Optional, Ignored}};
constexpr TExportMapping kIdNameMappings[] = {{"ID", "Id", Integer}, {"Name", "Name", Text}};
constexpr TExportMapping kCurrencyMappings[] = {
    {"ID", "Id", Integer}, {"Code", "Code", Text}, {"Name", "Name", Text}, {"IsMain", "IsMain", Integer}};
constexpr TExportMapping kCurrencyCursMappings[] = {
    {"IDCURRENCY", "IdCurrency", Integer}, {"DateCurs", "DateCurs", Date}, {"Curs", "Curs", Float}};
constexpr TExportMapping kNoteMappings[] = {{"Name", "Name", Text}};

}  // namespace

const TReferenceStepDef kTypePaymentStep{
    "ПК-PALM: Справочник видов оплат", 11, &TExchangeFileSet::TypePayment, kById, kTypePaymentMappings,
    &TPalmCatalogue::ptTypePayment};
const TReferenceStepDef kTypePriceStep{
    "ПК-PALM: Справочник видов цен", 12, &TExchangeFileSet::TypePrice, kById, kIdNameMappings,
    &TPalmCatalogue::ptTypePrice};
const TReferenceStepDef kCurrencyStep{"ПК-PALM: Справочник валют", 13,
                                      &TExchangeFileSet::Currency, kById,
                                      kCurrencyMappings,           &TPalmCatalogue::ptCurrency};
const TReferenceStepDef kCurrencyCursStep{"ПК-PALM: Справочник курсов валют",
                                          14,
                                          &TExchangeFileSet::CurrencyCurs,
                                          TReadOrder{"IDCURRENCY", "ID"},
                                          kCurrencyCursMappings,
                                          &TPalmCatalogue::ptCurrencyCurs};
const TReferenceStepDef kNote1Step{"ПК-PALM: Справочник примечаний 1",
                                   15,
                                   &TExchangeFileSet::Note1,
                                   kFileOrder,
                                   kNoteMappings,
                                   &TPalmCatalogue::ptNote1,
                                   {},
                                   nullptr,
                                   true};
const TReferenceStepDef kNote2Step{"ПК-PALM: Справочник примечаний 2",
                                   16,
                                   &TExchangeFileSet::Note2,
                                   kFileOrder,
                                   kNoteMappings,
                                   &TPalmCatalogue::ptNote2,
                                   {},
                                   nullptr,
                                   true};
const TReferenceStepDef kTradeAgentStep{"ПК-PALM: Справочник торговых представителей",
                                        22,
                                        &TExchangeFileSet::TradeAgent,
                                        kById,
                                        kIdNameMappings,
                                        &TPalmCatalogue::ptTradeAgent};

void ExportNoteLists(TExportContext& context) {
  try {
    RunReferenceStep(context, kNote1Step);
    RunReferenceStep(context, kNote2Step);
  } catch (const std::exception&) {
    TExchangeSession& session = context.Session;
    session.LogLine(
        Ansi("Ошибка ") + session.ConduitName + "\r" + Ansi("Ошибка передачи на КПК справочников примечаний"),
        kLogError);
  }
}
