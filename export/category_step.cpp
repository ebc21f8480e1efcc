#include "export/category_step.h"

#include "palmdb/palm_table_closer.h"
#include "session/step_header.h"

namespace {

using enum TInputKind;
using enum TColumnUse;

constexpr int kNameWidth = 80;
constexpr TExportMapping kCategoryMappings[] = {
    {"Id", "Id", Integer}, {"IdParent", "IdParent", Integer}, {"Name", "Name", Text, Required, Required, kNameWidth}};

constexpr const char* kCategoryTitle = "ПК-PALM: Справочник категорий товаров";
constexpr int kCategoryRow = 19;
const TReferenceStepDef kCategoryStep{
    kCategoryTitle, kCategoryRow, &TExchangeFileSet::Category, {}, {}, &TPalmCatalogue::ptCategory};

TStagedRecords CategoryRecords(const TCategoryTree& tree) {
  TStagedRecords records;
  records.Fields = {"Id", "IdParent", "Name", "Level", "ProductCount", "Expanded", "Childcount"};
  records.Reserve(tree.Rows().size() * records.Fields.size());
  for (const TCategoryRow& row : tree.Rows()) {
    records.AddRow({row.Id, row.IdParent, CategoryDisplayName(row.Name, row.Level), row.Level, row.ProductCount,
                    int32_t{0}, row.ChildCount});
  }
  return records;
}

}  // namespace

TCategoryTree BuildCategoryTree(TExportContext& context) {
  TExchangeSession& session = context.Session;
  TReferenceReader& reader = context.Reader;
  reader.Open(session.Files.Category, TReadOrder{});
  const TStagedRecords records = ReadStagedRecords(reader, kCategoryMappings, session.Format());
  reader.Close();
  std::vector<TCategorySource> sources;
  sources.reserve(records.RowCount());
  for (size_t row_number = 0; row_number < records.RowCount(); ++row_number) {
    const TStagedRow row = records.Row(row_number);
    sources.push_back({std::get<int32_t>(row[0]), std::get<int32_t>(row[1]),
                       std::string(records.Text(std::get<TStagedText>(row[2])))});
  }
  return TCategoryTree::Build(sources, session.Settings.SortCategories);
}

void ExportCategories(TExportContext& context, const TCategoryTree& tree) {
  TExchangeSession& session = context.Session;
  AnnounceStep(session, kCategoryTitle, kCategoryRow);
  session.Progress->ProgressBar.SetMax(static_cast<int>(tree.Rows().size()));
  ReplaceHandheldRecords(context, kCategoryStep, CategoryRecords(tree));
}
