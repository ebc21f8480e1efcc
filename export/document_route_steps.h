// The receivables by document and the route: each replaces its handheld table when its file is
// there; a route that cannot be exported is passed over and the export goes on.
#pragma once

#include "export/reference_step.h"

extern const TReferenceStepDef kDocumentStep;
extern const TReferenceStepDef kRouteListStep;

// The route step under its guard: any error after the step header is absorbed.
void ExportRoutes(TExportContext& context);
