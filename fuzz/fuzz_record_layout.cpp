// Fuzz target: any bytes as a handheld record of a few catalogue layouts and of one table that
// uses every field kind with alignment, then packed again from what was read.
#include <cstddef>
#include <cstdint>

#include "core/exceptions.h"
#include "palmdb/palm_catalogue.h"
#include "palmdb/palm_errors.h"
#include "palmdb/record_layout.h"

namespace {

struct Layouts {
  Layouts() {
    everything.FieldDefs().Add("B", ptByte);
    everything.FieldDefs().Add("S", ptString);
    everything.FieldDefs().Add("W", ptWord);
    everything.FieldDefs().Add("D", ptDate);
    everything.FieldDefs().Add("T", ptTime);
    everything.FieldDefs().Add("DT", ptDateTime);
    everything.FieldDefs().Add("F", ptString, 5);
    everything.FieldDefs().Add("L", ptLong);
    everything.FieldDefs().Add("Q", ptInt64);
    everything.FieldDefs().Add("R", ptSingle);
    everything.FieldDefs().Add("X", ptDouble);
    everything.FieldDefs().Add("C", ptCustom, 3);
    everything.FieldDefs().SetAlignment(4);
    everything.FieldDefs().SetStrictFields(false);
  }
  TPalmCatalogue catalogue;
  TpfgPalmRemoteTable everything{"ptEverything"};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Layouts layouts;
  if (size == 0) return 0;
  TpfgPalmRemoteTable* const tables[] = {&layouts.catalogue.ptOrder,    &layouts.catalogue.ptDoc,
                                         &layouts.catalogue.ptCustomer, &layouts.catalogue.ptCurrencyCurs,
                                         &layouts.catalogue.ptNote1,    &layouts.everything};
  const uint8_t selector = data[0];
  const TpfgPalmRemoteTable& table = *tables[selector % std::size(tables)];
  const TRecordLayout layout{(selector & 0x40) != 0, (selector & 0x80) != 0};
  std::vector<std::string> texts;
  std::vector<uint8_t> record;
  try {
    RemoteToLocalRecord(table.FieldDefs(), layout, data + 1, size - 1, texts, TFormatSettings{});
    LocalToRemoteRecord(table.FieldDefs(), layout, texts, record, TFormatSettings{});
  } catch (const EPalmDBError&) {
  } catch (const EConvertError&) {
  }
  return 0;
}
