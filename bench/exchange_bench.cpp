// Exchange files at growing sizes: loading and sorting a delimited text file, saving and
// loading an XML data packet. Times per row should stay flat as the row count grows.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/atomic_file.h"
#include "exchange/client_dataset.h"
#include "exchange/txt_table.h"

namespace {

std::string ScratchDir() {
  static const std::string dir = [] {
    const auto path = std::filesystem::temp_directory_path() / ("zp_exchange_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path.string() + "/";
  }();
  return dir;
}

// A product file of the given size in shuffled ID order.
std::string WriteTextFile(int64_t rows) {
  const std::string name = "Product" + std::to_string(rows) + ".txt";
  std::string bytes = "ID;IDCATEGORY;CODE;NAME;FULLNAME;ED;STANDARD;QUANTITY;PRICE1;PRICE2;PRICE3;PRICE4\r\n";
  for (int64_t i = 0; i < rows; ++i) {
    const int64_t id = (i * 7919) % rows + 1;
    bytes += std::to_string(id) + ";" + std::to_string(id % 500) + ";C" + std::to_string(id) + ";Product " +
             std::to_string(id) + ";Full name of product " + std::to_string(id) + ";pcs;1;" + std::to_string(i % 100) +
             ";12.5;13.75;14;15.25;\r\n";
  }
  WriteFileAtomic(ScratchDir() + name, bytes);
  return name;
}

void FillPacketTable(TClientDataSet& table, int64_t rows) {
  table.FieldDefs().Add("Id", TFieldType::ftInteger);
  table.FieldDefs().Add("IdCustomer", TFieldType::ftInteger);
  table.FieldDefs().Add("ORDERDATE", TFieldType::ftDateTime);
  table.FieldDefs().Add("TOTAL", TFieldType::ftFloat);
  table.FieldDefs().Add("NOTE", TFieldType::ftString, 200);
  table.CreateDataSet();
  TField& id = table.FieldByName("Id");
  TField& customer = table.FieldByName("IdCustomer");
  TField& date = table.FieldByName("ORDERDATE");
  TField& total = table.FieldByName("TOTAL");
  TField& note = table.FieldByName("NOTE");
  for (int64_t i = 0; i < rows; ++i) {
    table.Append();
    id.SetAsInteger(static_cast<int32_t>(i + 1));
    customer.SetAsInteger(static_cast<int32_t>(i % 1000));
    date.SetAsDateTime(TDateTime{45000.0 + static_cast<double>(i % 365)});
    total.SetAsFloat(static_cast<double>(i) / 3.0);
    note.SetAsString("Delivery before noon, ask for the manager <" + std::to_string(i) + ">");
    table.Post();
  }
}

void BM_TextLoadAndSortById(benchmark::State& state) {
  const std::string name = WriteTextFile(state.range(0));
  TcsTXTTable table;
  for (auto _ : state) {
    table.Clear();
    table.Directory = ScratchDir();
    table.FileName = name;
    table.Load();
    table.SortBy("ID");
    int64_t sum = 0;
    for (; !table.Eof(); table.Next()) sum += table.FieldByName("ID").AsInteger();
    benchmark::DoNotOptimize(sum);
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TextLoadAndSortById)->Arg(50000)->Arg(100000)->Arg(200000)->Complexity()->Unit(benchmark::kMillisecond);

void BM_PacketSave(benchmark::State& state) {
  TClientDataSet table;
  FillPacketTable(table, state.range(0));
  const std::string path = ScratchDir() + "Order" + std::to_string(state.range(0)) + ".xml";
  for (auto _ : state) table.SaveToFile(path);
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PacketSave)->Arg(25000)->Arg(50000)->Arg(100000)->Complexity()->Unit(benchmark::kMillisecond);

void BM_PacketLoad(benchmark::State& state) {
  const std::string path = ScratchDir() + "Load" + std::to_string(state.range(0)) + ".xml";
  {
    TClientDataSet table;
    FillPacketTable(table, state.range(0));
    table.SaveToFile(path);
  }
  TClientDataSet table;
  for (auto _ : state) {
    table.Close();
    table.LoadFromFile(path);
    table.SetIndexFieldNames("IdCustomer;Id");
    benchmark::DoNotOptimize(table.RecordCount());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PacketLoad)->Arg(25000)->Arg(50000)->Arg(100000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace
