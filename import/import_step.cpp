#include "import/import_step.h"

#include <string>

#include "core/cp1251.h"

namespace {

constexpr int kLogProgress = 19;

}  // namespace

void LogImportedCount(TExchangeSession& session, int count) {
  session.LogLine(Ansi("PALM-ПК: Загружено: ") + std::to_string(count), kLogProgress);
}

std::vector<TBoundMapping> BindMappings(TpfgPalmRemoteTable& table, TImportOutput& output,
                                        std::span<const TFieldMapping> mappings) {
  std::vector<TBoundMapping> bound;
  bound.reserve(mappings.size());
  for (const TFieldMapping& mapping : mappings) {
    if (mapping.Presence != nullptr && table.FindField(mapping.Presence) == nullptr) continue;
    TpfgPalmField& field = table.FieldByName(mapping.Handheld);
    bound.push_back({&field, output.Bind(mapping.Output), mapping.Kind});
  }
  return bound;
}

void CopyMappedValues(const std::vector<TBoundMapping>& bound, TImportOutput& output) {
  for (const TBoundMapping& mapping : bound) {
    switch (mapping.Kind) {
      case THandheldValueKind::Integer:
        output.SetInteger(mapping.Slot, mapping.Field->AsInteger());
        break;
      case THandheldValueKind::Float:
        output.SetFloat(mapping.Slot, mapping.Field->AsFloat());
        break;
      case THandheldValueKind::Date:
        output.SetDateTime(mapping.Slot, mapping.Field->AsDateTime());
        break;
      case THandheldValueKind::Text:
        output.SetText(mapping.Slot, mapping.Field->AsString());
        break;
    }
  }
}

bool RunImportStep(TExchangeSession& session, TPalmCatalogue& catalogue, const TImportStepDef& step,
                   TImportOutput* output, int32_t& counter) {
  AnnounceStep(session, step.Title, step.ProgressRow);
  TpfgPalmRemoteTable& table = catalogue.*step.Table;
  if (step.OnlyWhenTableExists && !table.Exists()) return false;

  TTableCloser closer(table);
  table.Open();
  session.Progress->ProgressBar.SetMax(table.RecordCount());
  if (output == nullptr) {
    table.Close();
    return true;
  }

  output->Start(step.Layout);
  output->Reserve(table.RecordCount());
  counter = 0;
  const std::vector<TBoundMapping> bound = BindMappings(table, *output, step.Mappings);
  while (!table.Eof()) {
    output->Append();
    CopyMappedValues(bound, *output);
    output->Post();
    ++counter;
    session.Progress->ProgressBar.StepIt();
    table.Next();
  }
  table.Close();
  LogImportedCount(session, output->Save());
  return true;
}
