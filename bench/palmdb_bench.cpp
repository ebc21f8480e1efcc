// Records per second of the handheld record layout for product-shaped records: packing and
// unpacking in memory, and writing and reading whole tables through the handheld stand-in.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "palmdb/palm_catalogue.h"
#include "palmdb/record_layout.h"
#include "tools/device_connection.h"

namespace {

std::vector<std::string> ProductTexts(int id) {
  return {std::to_string(id),
          std::to_string(id % 500),
          "P" + std::to_string(100000 + id),
          "Milk Tea Bread",
          "Milk Tea Bread 1 l, carton",
          "pcs",
          "1",
          "24",
          "45.5",
          "44.25",
          "43",
          "41.75",
          "1"};
}

void BM_PackProductRecord(benchmark::State& state) {
  TPalmCatalogue catalogue;
  const std::vector<std::string> texts = ProductTexts(12345);
  std::vector<uint8_t> record;
  for (auto _ : state) {
    LocalToRemoteRecord(catalogue.ptProduct.FieldDefs(), {}, texts, record, TFormatSettings{});
    benchmark::DoNotOptimize(record.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PackProductRecord);

void BM_UnpackProductRecord(benchmark::State& state) {
  TPalmCatalogue catalogue;
  std::vector<uint8_t> record;
  LocalToRemoteRecord(catalogue.ptProduct.FieldDefs(), {}, ProductTexts(12345), record, TFormatSettings{});
  std::vector<std::string> texts;
  for (auto _ : state) {
    RemoteToLocalRecord(catalogue.ptProduct.FieldDefs(), {}, record.data(), record.size(), texts, TFormatSettings{});
    benchmark::DoNotOptimize(texts.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnpackProductRecord);

// A temporary handheld connected through the stand-in libraries beside this program.
class StandInHandheld {
 public:
  StandInHandheld() {
    const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    if (!std::filesystem::exists(bin / "libsync20.so")) return;
    std::string pattern = (std::filesystem::temp_directory_path() / "zp-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    directory_ = pattern;
    connection_ = std::make_unique<TDeviceConnection>(bin.string(), directory_);
  }
  ~StandInHandheld() {
    connection_.reset();
    if (!directory_.empty()) std::filesystem::remove_all(directory_);
  }
  bool Ready() const { return connection_ != nullptr; }

 private:
  std::string directory_;
  std::unique_ptr<TDeviceConnection> connection_;
};

void WriteProducts(TpfgPalmRemoteTable& products, int count) {
  if (products.Exists()) {
    products.Open();
  } else {
    products.CreateTable();
  }
  products.EmptyTable();
  std::vector<TpfgPalmField>& fields = products.Fields();
  for (int id = 1; id <= count; ++id) {
    products.Insert();
    std::vector<std::string> texts = ProductTexts(id);
    for (size_t i = 0; i < fields.size(); ++i) fields[i].SetAsString(std::move(texts[i]));
    products.Post();
  }
  products.Close();
}

void BM_WriteProductsThroughStandIn(benchmark::State& state) {
  StandInHandheld handheld;
  if (!handheld.Ready()) {
    state.SkipWithError("libsync20.so is not built beside this program");
    return;
  }
  TPalmCatalogue catalogue;
  for (auto _ : state) WriteProducts(catalogue.ptProduct, static_cast<int>(state.range(0)));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteProductsThroughStandIn)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadProductsThroughStandIn(benchmark::State& state) {
  StandInHandheld handheld;
  if (!handheld.Ready()) {
    state.SkipWithError("libsync20.so is not built beside this program");
    return;
  }
  TPalmCatalogue catalogue;
  TpfgPalmRemoteTable& products = catalogue.ptProduct;
  WriteProducts(products, static_cast<int>(state.range(0)));
  TpfgPalmField& id = products.FieldByName("Id");
  TpfgPalmField& name = products.FieldByName("Name");
  TpfgPalmField& price = products.FieldByName("Price1");
  for (auto _ : state) {
    products.Open();
    while (!products.Eof()) {
      benchmark::DoNotOptimize(id.AsInteger());
      benchmark::DoNotOptimize(name.AsString());
      benchmark::DoNotOptimize(price.AsFloat());
      products.Next();
    }
    products.Close();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadProductsThroughStandIn)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
