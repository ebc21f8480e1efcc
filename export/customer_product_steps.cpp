#include "export/customer_product_steps.h"

namespace {

using enum TInputKind;
using enum TColumnUse;

constexpr TReadOrder kFileOrder{};
constexpr const char* kById[] = {"Id"};

// The accounting system's packets may leave out the balance, price number and discount; its
// text files may not. A packet without "IdQuest" gives every customer questionnaire 1.
constexpr TExportMapping kCustomerMappings[] = {{"Id", "Id", Integer},
                                                {"Code", "Code", Text, Required, Required, 15},
                                                {"Name", "Name", Text, Required, Required, 50},
                                                {"Address", "Address", Text, Required, Required, 80},
                                                {"CurrentSaldo", "CurrentSaldo", Currency, Required, Optional},
                                                {"nPrice", "Nprice", Integer, Required, Optional},
                                                {"PercentDiscount", "PercentDiscount", Float, Required, Optional},
                                                {"IdCategory", "IdCategory", Integer, Optional, Optional},
                                                {"IdQuest", "IDQuest", Integer, Optional, Optional, 0, 0, 1},
                                                {"DateForDelivery", "DateForDelivery", Text, Optional, Optional, 80}};

constexpr TExportMapping kProductMappings[] = {{"Id", "Id", Integer},
                                               {"IdCategory", "IdCategory", Integer},
                                               {"Code", "Code", Text, Required, Required, 15},
                                               {"Name", "Name", Text, Required, Required, 50},
                                               {"Fullname", "FullName", Text, Required, Required, 80},
                                               {"Ed", "Ed", Text, Required, Required, 5},
                                               {"Standard", "Standard", Float},
                                               {"Quantity", "Quantity", Float},
                                               {"Price1", "Price1", Currency},
                                               {"Price2", "Price2", Currency},
                                               {"Price3", "Price3", Currency},
                                               {"Price4", "Price4", Currency},
                                               {"Aliquot", "Aliquot", Integer, Optional, Optional}};
// The mapping of the product's category, an integer every product has.
constexpr size_t kProductCategory = 1;

}  // namespace

const TReferenceStepDef kCustomerStep{
    "ПК-PALM: Справочник покупателей", 17,    &TExchangeFileSet::Customer,     kFileOrder, kCustomerMappings,
    &TPalmCatalogue::ptCustomer,       kById, &TPalmCatalogue::ptCustomerIndex};
const TReferenceStepDef kProductStep{
    "ПК-PALM: Справочник товаров", 18,    &TExchangeFileSet::Product,     kFileOrder, kProductMappings,
    &TPalmCatalogue::ptProduct,    kById, &TPalmCatalogue::ptProductIndex};

void ExportProducts(TExportContext& context, TCategoryTree& tree) {
  if (!BeginReferenceStep(context, kProductStep)) return;
  // Counted before the records go to the handheld, which lets them go: a step that fails ends
  // the export before the tree is written.
  std::vector<int32_t> categories;
  const auto keep_category = [&categories](std::span<const TStagedInput> row) {
    categories.push_back(std::get<int32_t>(row[kProductCategory]));
  };
  if (std::optional<TPackedRecords> packed = ReadPackedReferenceRecords(context, kProductStep, keep_category)) {
    for (const int32_t category : categories) tree.CountProduct(category);
    ReplaceHandheldRecords(context, kProductStep, std::move(*packed));
    return;
  }
  TStagedRecords records = ReadReferenceRecords(context, kProductStep);
  for (size_t row = 0; row < records.RowCount(); ++row)
    tree.CountProduct(std::get<int32_t>(records.Row(row)[kProductCategory]));
  ReplaceHandheldRecords(context, kProductStep, std::move(records));
}
