// The five steps that read what the agent recorded on the handheld (order headers, order
// lines, cash, route work, work protocol) and the payments by documents, as data: the files
// the accounting system reads, their header lines and packet fields, and the field mappings.
#pragma once

#include <span>

#include "import/import_step.h"

extern const TImportStepDef kOrderStep;
extern const TImportStepDef kOrderItemStep;
extern const TImportStepDef kCashStep;
extern const TImportStepDef kRouteStep;
extern const TImportStepDef kProtocolStep;

// Payments by documents: "PayByDoc.txt" / "PayByDoc.xml" from the document table.
extern const TOutputLayout kPayByDocLayout;
extern const std::span<const TFieldMapping> kPayByDocMappings;
