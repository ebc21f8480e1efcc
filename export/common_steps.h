// The simple reference tables: payment types, price types, currencies, currency rates, the two
// note lists and trade agents, each one file into one handheld table.
#pragma once

#include "export/reference_step.h"

extern const TReferenceStepDef kTypePaymentStep;
extern const TReferenceStepDef kTypePriceStep;
extern const TReferenceStepDef kCurrencyStep;
extern const TReferenceStepDef kCurrencyCursStep;
extern const TReferenceStepDef kNote1Step;
extern const TReferenceStepDef kNote2Step;
extern const TReferenceStepDef kTradeAgentStep;

// Both note lists under one guard: a failure logs "Ошибка " and the conduit name, a carriage
// return and "Ошибка передачи на КПК справочников примечаний" (activity 21), and the export goes
// on; the second list is not attempted after the first failed.
void ExportNoteLists(TExportContext& context);
