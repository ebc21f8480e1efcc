// Records per second of the import from the handheld: a territory's orders (10 lines each)
// read from the handheld stand-in and written as "TXT" or "XML" exchange files, or as the dBase
// tables of "TXTINDBFOUT" through the build's ODBC driver, at two sizes to show that the time
// grows linearly with the number of records.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "api/hotsync_api.h"
#include "core/regional_formats.h"
#include "exchange/txt_table.h"
#include "import/import_palm_to_dbf.h"
#include "import/import_palm_to_pc.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_file_set.h"
#include "session/progress_window.h"
#include "tools/device_connection.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLinesPerOrder = 10;

// One handheld with `orders` orders and their lines, made once and kept for every run of that size.
class BenchHandheld {
 public:
  explicit BenchHandheld(int orders) {
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    std::string pattern = (fs::temp_directory_path() / "zp-import-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directories(root_ / "device");
    fs::create_directories(root_ / "exchange");
    SetCurrentFormats(TFormatSettings{});
    connection_ = std::make_unique<TDeviceConnection>(bin.string(), (root_ / "device").string());
    Fill(orders);
  }
  ~BenchHandheld() {
    catalogue_.reset();
    connection_.reset();
    fs::remove_all(root_);
  }

  TPalmCatalogue& Catalogue() { return *catalogue_; }
  std::string Exchange() const { return (root_ / "exchange").string() + "/"; }

 private:
  void Fill(int orders) {
    TpfgPalmRemoteTable& order = catalogue_->ptOrder;
    order.CreateTable();
    for (int id = 1; id <= orders; ++id) {
      order.Insert();
      order.FieldByName("Id").SetAsInteger(id);
      order.FieldByName("OrderDate").SetAsString("05.03.2024");
      order.FieldByName("OrderTime").SetAsString("10:15");
      order.FieldByName("DeliverDate").SetAsString("06.03.2024");
      order.FieldByName("IdCustomer").SetAsInteger(id % 20000);
      order.FieldByName("IdPayment").SetAsInteger(1);
      order.FieldByName("Total").SetAsFloat(1234.5);
      order.FieldByName("CountRow").SetAsInteger(kLinesPerOrder);
      order.FieldByName("NPrice").SetAsInteger(2);
      order.FieldByName("PercentDiscount").SetAsFloat(2.5);
      order.FieldByName("Note").SetAsString("Deliver before noon; call first");
      order.Post();
    }
    order.Close();
    TpfgPalmRemoteTable& line = catalogue_->ptOrderItem;
    line.CreateTable();
    for (int id = 1; id <= orders; ++id) {
      for (int n = 0; n < kLinesPerOrder; ++n) {
        line.Insert();
        line.FieldByName("IdOrder").SetAsInteger(id);
        line.FieldByName("IdProduct").SetAsInteger((id * 7 + n) % 50000);
        line.FieldByName("Quantity").SetAsFloat(n + 1);
        line.FieldByName("Price").SetAsFloat(45.75);
        line.Post();
      }
    }
    line.Close();
    for (TpfgPalmRemoteTable* empty : {&catalogue_->ptCash, &catalogue_->ptRoute, &catalogue_->ptProtocol}) {
      empty->CreateTable();
      empty->Close();
    }
  }

  fs::path root_;
  std::unique_ptr<TDeviceConnection> connection_;
  std::unique_ptr<TPalmCatalogue> catalogue_ = std::make_unique<TPalmCatalogue>();
};

BenchHandheld& HandheldWith(int orders) {
  static std::map<int, std::unique_ptr<BenchHandheld>> handhelds;
  // Only one handheld is connected at a time.
  if (!handhelds.contains(orders)) {
    handhelds.clear();
    handhelds[orders] = std::make_unique<BenchHandheld>(orders);
  }
  return *handhelds[orders];
}

void BM_ImportOrders(benchmark::State& state, TExchangeFormat format) {
  const int orders = static_cast<int>(state.range(0));
  BenchHandheld& handheld = HandheldWith(orders);
  TfrmProgress progress(nullptr);
  TcsTXTTable text_table;
  TExchangeSession session;
  session.Settings.ExchangeFormat = format;
  session.Directory = handheld.Exchange();
  session.Files = ExchangeFileSetFor(format);
  session.Progress = &progress;
  session.StatusText = [](const std::string&) {};
  session.LogLine = [](const std::string&, int) {};
  session.MessageBox = [](const std::string&, const std::string&, unsigned) { return IDNO; };
  for (auto _ : state) {
    benchmark::DoNotOptimize(ImportPalmToPc(session, handheld.Catalogue(), text_table));
    state.PauseTiming();
    for (const auto& entry : fs::directory_iterator(session.Directory)) fs::remove(entry.path());
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * orders * (1 + kLinesPerOrder));
}

BENCHMARK_CAPTURE(BM_ImportOrders, Txt, TExchangeFormat::TXT)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ImportOrders, Xml, TExchangeFormat::XML)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// unixODBC finds the drivers in the registry the build writes beside bin/.
void UseBuildDriverRegistry() {
  const fs::path etc = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "etc";
  setenv("ODBCSYSINI", etc.c_str(), 0);
}

// Rows per second written into "order.dbf", "orderitem.dbf" and "orders.dbf" together.
void BM_ImportOrdersAsDbase(benchmark::State& state, const char* driver) {
  UseBuildDriverRegistry();
  const int orders = static_cast<int>(state.range(0));
  BenchHandheld& handheld = HandheldWith(orders);
  TfrmProgress progress(nullptr);
  TExchangeSession session;
  session.Settings.ExchangeFormat = TExchangeFormat::TXTINDBFOUT;
  session.Settings.ODBCDriverName = driver;
  session.Directory = handheld.Exchange();
  session.Files = ExchangeFileSetFor(TExchangeFormat::TXTINDBFOUT);
  session.Progress = &progress;
  session.StatusText = [](const std::string&) {};
  session.LogLine = [](const std::string&, int) {};
  session.MessageBox = [](const std::string&, const std::string&, unsigned) { return IDNO; };
  for (auto _ : state) {
    benchmark::DoNotOptimize(ImportPalmToDbf(session, handheld.Catalogue()));
    state.PauseTiming();
    for (const auto& entry : fs::directory_iterator(session.Directory)) fs::remove(entry.path());
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 2 * orders * (1 + kLinesPerOrder));
}

BENCHMARK_CAPTURE(BM_ImportOrdersAsDbase, FoxPro, "Microsoft FoxPro VFP Driver (*.dbf)")
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ImportOrdersAsDbase, Dbase, "Microsoft dBase Driver (*.dbf)")
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
