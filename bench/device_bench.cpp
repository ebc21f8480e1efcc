// The handheld stand-in under a territory's load: 100,000 records written into one database
// and saved by one close, and the same database opened and read back record by record.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "api/sync_manager.h"

namespace {

constexpr uint32_t kRecords = 100000;
constexpr char kDatabase[] = "Zembra_OrderLineDB";

class DeviceDirectory {
 public:
  DeviceDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zp-device-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
    if (SyncHostConnect(path_.c_str()) != 0) std::abort();
  }
  ~DeviceDirectory() {
    SyncHostDisconnect();
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::string path_;
};

// A record the size of an order line: numbers and a short text.
std::string OrderLine(uint32_t i) {
  std::string line = "order " + std::to_string(i) + ";product " + std::to_string(i * 7 % 50000) + ";qty 12;";
  line.resize(60, ' ');
  return line;
}

void WriteAll() {
  SyncCreateDb params{0x5771747A, 0, 0, {}, 0x44415441, 256};
  std::copy(std::begin(kDatabase), std::end(kDatabase), params.name);
  uint8_t handle = 0;
  if (SyncCreateDB(&params, &handle) != 0) std::abort();
  std::string bytes;
  for (uint32_t i = 0; i < kRecords; ++i) {
    bytes = OrderLine(i);
    SyncRecord record{handle, 0, 0, 0, 0, static_cast<uint32_t>(bytes.size()), 0, bytes.data()};
    if (SyncWriteRec(&record) != 0) std::abort();
  }
  if (SyncCloseDB(handle) != 0) std::abort();
}

void BM_Write100000RecordsAndClose(benchmark::State& state) {
  DeviceDirectory device;
  for (auto _ : state) {
    WriteAll();
    state.PauseTiming();
    if (SyncDeleteDB(kDatabase, 0) != 0) std::abort();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRecords);
}
BENCHMARK(BM_Write100000RecordsAndClose)->Unit(benchmark::kMillisecond);

void BM_Open100000RecordsAndReadByIndex(benchmark::State& state) {
  DeviceDirectory device;
  WriteAll();
  char buffer[65000];
  for (auto _ : state) {
    uint8_t handle = 0;
    if (SyncOpenDB(kDatabase, 0, &handle, SYNC_MODE_READ) != 0) std::abort();
    SyncRecord record{handle, 0, 0, 0, 0, 0, sizeof buffer, buffer};
    while (SyncReadRecordByIndex(&record) == 0) ++record.record_index;
    if (record.record_index != kRecords || SyncCloseDB(handle) != 0) std::abort();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRecords);
}
BENCHMARK(BM_Open100000RecordsAndReadByIndex)->Unit(benchmark::kMillisecond);

}  // namespace
