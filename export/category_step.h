// The category steps of the export: the tree built from the categories file before the
// products are written (no header, no log line, no progress row), and the tree written to the
// handheld category table after them.
#pragma once

#include "export/category_tree.h"
#include "export/reference_step.h"

// Reads the whole categories file in file order (Id, IdParent, Name cut to 80, all required) and
// flattens it by the session's sort-categories setting.
TCategoryTree BuildCategoryTree(TExportContext& context);

// "ПК-PALM: Справочник категорий товаров", row 19: every tree row in IdRow order with its display
// name, counts and "Expanded" 0.
void ExportCategories(TExportContext& context, const TCategoryTree& tree);
