// The customer and product lists: read whole into records of fixed widths and defaults, ordered
// by Id, written, their index databases emptied; the products are counted into the category tree.
#pragma once

#include "export/category_tree.h"
#include "export/reference_step.h"

extern const TReferenceStepDef kCustomerStep;
extern const TReferenceStepDef kProductStep;

// The product step; every product written adds 1 to the count of its own category in tree.
void ExportProducts(TExportContext& context, TCategoryTree& tree);
