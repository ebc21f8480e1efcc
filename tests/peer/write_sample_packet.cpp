// Writes the packet that the peer check hands to Free Pascal's TBufDataset: integer, float
// and text columns with ordinary, extreme, escaped, empty and null values.
#include <cstdio>
#include <limits>

#include "core/exceptions.h"
#include "exchange/client_dataset.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_sample_packet FILE.xml\n");
    return 2;
  }
  try {
    TClientDataSet table;
    table.FieldDefs().Add("ID", TFieldType::ftInteger);
    table.FieldDefs().Add("TOTAL", TFieldType::ftFloat);
    table.FieldDefs().Add("NAME", TFieldType::ftString, 20);
    table.CreateDataSet();
    struct TSampleRow {
      int32_t Id;
      double Total;
      const char* Name;
    };
    const TSampleRow rows[] = {{1, 12.5, "abc"},
                               {-2147483647 - 1, 1.0 / 3.0, "a<b&\"c\" d:\\e 'f'>"},
                               {2147483647, -1.5e-7, "longer than twenty characters"},
                               {0, 1e20, ""}};
    for (const TSampleRow& row : rows) {
      table.Append();
      table.FieldByName("ID").SetAsInteger(row.Id);
      table.FieldByName("TOTAL").SetAsFloat(row.Total);
      table.FieldByName("NAME").SetAsString(row.Name);
      table.Post();
    }
    table.Append();
    table.Post();
    table.SaveToFile(argv[1]);
  } catch (const Exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
