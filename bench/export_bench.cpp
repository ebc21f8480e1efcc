// Records per second of the export to the handheld: the reference files of a territory made by
// make-territory (scales 0.5, 1 and 2) written into the handheld stand-in, in "TXT" and in "XML",
// to show that the time grows linearly with the number of records. The generator is named by
// $ZP_MAKE_TERRITORY, else looked for in the shared tools beside the source tree.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "api/hotsync_api.h"
#include "core/atomic_file.h"
#include "core/regional_formats.h"
#include "export/export_phase.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_file_set.h"
#include "session/progress_window.h"
#include "tools/device_connection.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string MakeTerritoryProgram() {
  if (const char* given = std::getenv("ZP_MAKE_TERRITORY")) return given;
  for (const char* relative : {"/../shared/tools/make-territory", "/../../shared/tools/make-territory"}) {
    const fs::path candidate = fs::path(ZP_SOURCE_DIR + std::string(relative));
    if (fs::exists(candidate)) return candidate.string();
  }
  throw std::runtime_error("make-territory not found: set ZP_MAKE_TERRITORY");
}

void RunMakeTerritory(const std::string& out, const std::string& scale) {
  const std::string program = MakeTerritoryProgram();
  std::vector<std::string> arguments{program, out, "--scale", scale};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + program);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(program + " failed");
  }
}

// Rows of a semicolon text file: its lines but the header.
int64_t RecordsIn(const fs::path& file) {
  const std::string text = ReadWholeFile(file.string());
  int64_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines > 0 ? lines - 1 : 0;
}

// One territory's exchange directory and a handheld holding every reference database (empty),
// made once per scale and kept while that scale runs.
class BenchTerritory {
 public:
  explicit BenchTerritory(const std::string& scale) {
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    std::string pattern = (fs::temp_directory_path() / "zp-export-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    RunMakeTerritory((root_ / "territory").string(), scale);
    for (const auto& entry : fs::directory_iterator(root_ / "territory" / "exchange")) {
      if (entry.path().extension() == ".txt") records_ += RecordsIn(entry.path());
    }
    fs::create_directories(root_ / "device");
    SetCurrentFormats(TFormatSettings{});
    connection_ = std::make_unique<TDeviceConnection>(bin.string(), (root_ / "device").string());
    TPalmCatalogue catalogue;
    for (TpfgPalmRemoteTable* table : catalogue.Tables()) {
      table->CreateTable();
      table->Close();
    }
  }
  ~BenchTerritory() {
    connection_.reset();
    fs::remove_all(root_);
  }

  std::string Exchange() const { return (root_ / "territory" / "exchange").string() + "/"; }
  // Reference rows of all the territory's files of one form (the text and XML files hold the same).
  int64_t Records() const { return records_; }

 private:
  fs::path root_;
  std::unique_ptr<TDeviceConnection> connection_;
  int64_t records_ = 0;
};

BenchTerritory& TerritoryOfScale(int64_t tenths) {
  static std::map<int64_t, std::unique_ptr<BenchTerritory>> territories;
  // Only one handheld is connected at a time.
  if (!territories.contains(tenths)) {
    territories.clear();
    territories[tenths] =
        std::make_unique<BenchTerritory>(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
  }
  return *territories[tenths];
}

void BM_ExportTerritory(benchmark::State& state, TExchangeFormat format) {
  BenchTerritory& territory = TerritoryOfScale(state.range(0));
  TfrmProgress progress(nullptr);
  TExchangeSession session;
  session.Settings.ExchangeFormat = format;
  session.Directory = territory.Exchange();
  session.Files = ExchangeFileSetFor(format);
  session.Progress = &progress;
  session.ConduitName = "ZembraToPalm";
  session.StatusText = [](const std::string&) {};
  session.LogLine = [](const std::string&, int) {};
  session.MessageBox = [](const std::string&, const std::string&, unsigned) { return IDOK; };
  for (auto _ : state) RunExportPhase(session);
  state.SetItemsProcessed(state.iterations() * territory.Records());
  state.counters["records"] = static_cast<double>(territory.Records());
}

// The argument is the scale in tenths: 0.5, 1 and 2.
BENCHMARK_CAPTURE(BM_ExportTerritory, Txt, TExchangeFormat::TXT)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExportTerritory, Xml, TExchangeFormat::XML)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
