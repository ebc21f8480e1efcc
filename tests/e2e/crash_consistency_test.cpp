// A sync killed with SIGKILL at moments spread over the import, the clearing and the export of
// a small territory: after each kill every .pdb still reads (with our tool and with Perl's
// Palm::PDB), and after the next sync no order, line, cash or protocol record is both gone from
// the handheld and missing from a complete output file, and the three order databases are all
// purged or all kept. ZP_CRASH_SCALE (default 0.02) and ZP_CRASH_MOMENTS (default 40) make a
// larger run, for example: ZP_CRASH_SCALE=0.2 ZP_CRASH_MOMENTS=200 ctest -R CrashConsistency
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "core/text_pieces.h"
#include "palmdb/palm_catalogue.h"
#include "tests/e2e/e2e_home.h"

namespace fs = std::filesystem;

extern char** environ;

namespace {

using TKeyCounts = std::map<std::string, int>;

// What a handheld database and its output file have in common for one kind of record.
struct TRecordKind {
  const char* Database;
  const char* OutputFile;
  const char* OutputHeader;      // the output file's first line
  std::vector<const char*> Key;  // the columns that tell its records apart (names ignoring case)
};

const std::vector<TRecordKind> kKinds = {
    {"Zembra_OrderDB",
     "Order.txt",
     "ID;IDCUSTOMER;ORDERDATE;DELIVERDATE;IDPAYMENT;TOTAL;COUNTROW;NPRICE;PERCENTDISCOUNT;NOTE;ORDERTIME;NOTE1;NOTE2",
     {"ID"}},
    {"Zembra_OrderItemDB", "OrderItem.txt", "IDORDER;IDPRODUCT;QUANTITY;PRICE;", {"IDORDER", "IDPRODUCT"}},
    {"Zembra_CashDB", "Cash.txt", "ID;IDCUSTOMER;CASHDATE;IDCURRENCY;CURRENCYCURS;CURRENCYSUMMA;SUMMA;NOTE;", {"ID"}},
    {"Zembra_ProtocolDB",
     "Protocol.txt",
     "ACTIONDATE;ACTIONTIME;IDROUTE;IDCUSTOMER;IDDOC;ACTION;",
     {"ACTIONDATE", "ACTIONTIME", "IDCUSTOMER"}},
};

std::string Environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

std::string MakeTerritoryProgram() {
  if (const char* given = std::getenv("ZP_MAKE_TERRITORY")) return given;
  for (const char* relative : {"/../shared/tools/make-territory", "/../../shared/tools/make-territory"}) {
    const fs::path candidate = fs::path(ZP_SOURCE_DIR + std::string(relative));
    if (fs::exists(candidate)) return candidate.string();
  }
  return "";
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// The key of every data line of a semicolon text with a header line, counted.
TKeyCounts CountKeys(std::string_view text, const std::vector<const char*>& key) {
  TKeyCounts counts;
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty()) return counts;
  const std::vector<std::string_view> names = SplitAt(lines[0], ';');
  std::vector<size_t> columns;
  for (const char* wanted : key) {
    const auto found =
        std::find_if(names.begin(), names.end(), [&](std::string_view name) { return SameName(name, wanted); });
    if (found == names.end()) throw std::runtime_error(std::string("no column ") + wanted);
    columns.push_back(static_cast<size_t>(found - names.begin()));
  }
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string_view> cells = SplitAt(lines[i], ';');
    std::string key;
    for (size_t column : columns) key += std::string(cells.at(column)) + "|";
    ++counts[key];
  }
  return counts;
}

// A running program, killed with SIGKILL on request.
class TKilledRun {
 public:
  TKilledRun(const std::string& program, const std::vector<std::string>& arguments) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2})
      posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  // True when the program was killed before it ended by itself.
  bool KillAfter(std::chrono::microseconds delay) {
    std::this_thread::sleep_for(delay);
    const bool killed = ::kill(pid_, SIGKILL) == 0;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    return killed && WIFSIGNALED(status);
  }
  bool Started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

class CrashConsistencyTest : public ::testing::Test, protected TE2EHome {
 protected:
  void SetUp() override {
    if (!E2EProgramsBuilt()) GTEST_SKIP() << kE2EProgramsMissing;
    if (MakeTerritoryProgram().empty()) GTEST_SKIP() << "make-territory not found: set ZP_MAKE_TERRITORY";
    perl_ = std::system("perl -MPalm::PDB -MPalm::Raw -e 1 >/dev/null 2>&1") == 0;
    MakeScratch("zp-crash");
    MakeTemplate();
  }

  // A registered home whose user has the territory's reference files and handheld data.
  void MakeTemplate() {
    const std::string territory = (root_ / "territory").string();
    ASSERT_EQ(RunProgram(MakeTerritoryProgram(), {territory, "--scale", Environment("ZP_CRASH_SCALE", "0.02")},
                         root_.string())
                  .ExitStatus,
              0);
    const std::string home = (root_ / "template").string();
    ASSERT_EQ(HotSyncAt(home, {"register"}).ExitStatus, 0);
    ASSERT_EQ(HotSyncAt(home, {"users", "add", "Agent"}).ExitStatus, 0);
    WriteFileAtomic(home + "/ZembraToPalm.ini", "[COMMON]\r\nEXCHANGEFILEFORMAT=TXT\r\n");
    fs::create_directories(home + "/Agent/Default");
    fs::create_directories(home + "/Agent/Device");
    for (const auto& entry : fs::directory_iterator(territory + "/exchange")) {
      if (entry.path().extension() == ".txt") fs::copy(entry.path(), home + "/Agent/Default/");
    }
    for (const auto& entry : fs::directory_iterator(territory + "/handheld")) {
      const std::string database = entry.path().stem().string();
      ASSERT_EQ(Handheld({"load", home + "/Agent/Device", database, entry.path().string()}).ExitStatus, 0) << database;
      originals_[database] = ReadWholeFile(entry.path().string());
    }
    // The databases the export rewrites are there, empty, as the sales application keeps them.
    const TPalmCatalogue catalogue;
    for (const TpfgPalmRemoteTable* table : catalogue.Tables()) {
      if (originals_.contains(table->TableName())) continue;
      const std::string empty = (root_ / "empty.txt").string();
      WriteFileAtomic(empty, table->FieldDefs()[0].FieldName() + "\r\n");
      ASSERT_EQ(Handheld({"load", home + "/Agent/Device", table->TableName(), empty}).ExitStatus, 0)
          << table->TableName();
    }
  }

  // A fresh copy of the template home.
  std::string FreshHome(int moment) {
    const std::string home = (root_ / ("home" + std::to_string(moment))).string();
    fs::copy(root_ / "template", home, fs::copy_options::recursive);
    return home;
  }

  void ExpectDatabasesRead(const std::string& device, const std::string& moment) {
    EXPECT_EQ(Handheld({"list", device}).ExitStatus, 0) << moment;
    for (const TRecordKind& kind : kKinds) {
      EXPECT_EQ(Handheld({"dump", device, kind.Database}).ExitStatus, 0) << moment << " " << kind.Database;
    }
    if (!perl_) return;
    std::vector<std::string> arguments{"-MPalm::PDB", "-MPalm::Raw", "-e",
                                       "for (@ARGV) { Palm::PDB->new->Load($_) or die $_ }"};
    for (const auto& entry : fs::directory_iterator(device)) {
      if (entry.path().extension() == ".pdb") arguments.push_back(entry.path().string());
    }
    const TProgramRun perl = RunProgram("/usr/bin/perl", arguments, root_.string());
    EXPECT_EQ(perl.ExitStatus, 0) << moment << " " << perl.Err;
  }

  // Every record the territory put on the handheld is still there or in a complete output file;
  // the order databases are all purged or all kept.
  void ExpectNothingLost(const std::string& home, const std::string& moment) {
    std::map<std::string, int> left_on_handheld;
    for (const TRecordKind& kind : kKinds) {
      const TProgramRun dump = Handheld({"dump", home + "/Agent/Device", kind.Database});
      ASSERT_EQ(dump.ExitStatus, 0) << moment;
      const TKeyCounts on_handheld = CountKeys(dump.Out, kind.Key);
      const std::string output_path = home + "/Agent/Default/" + kind.OutputFile;
      TKeyCounts in_file;
      if (fs::exists(output_path)) {
        const std::string text = ReadWholeFile(output_path);
        ASSERT_TRUE(text.starts_with(std::string(kind.OutputHeader) + "\r\n")) << moment << " " << kind.OutputFile;
        ASSERT_TRUE(text.ends_with("\r\n")) << moment << " " << kind.OutputFile;
        in_file = CountKeys(text, kind.Key);
      }
      int records = 0;
      for (const auto& [key, count] : CountKeys(originals_[kind.Database], kind.Key)) {
        const int kept =
            (on_handheld.contains(key) ? on_handheld.at(key) : 0) + (in_file.contains(key) ? in_file.at(key) : 0);
        EXPECT_GE(kept, count) << moment << ": " << kind.Database << " record " << key << " lost";
        records += count;
      }
      int left = 0;
      for (const auto& [key, count] : on_handheld) left += count;
      left_on_handheld[kind.Database] = left == 0 ? 0 : (left == records ? 1 : -1);
    }
    for (const char* name : {"RouteOut.txt", "PayByDoc.txt"}) {
      const std::string path = home + "/Agent/Default/" + name;
      if (fs::exists(path)) {
        EXPECT_TRUE(ReadWholeFile(path).ends_with("\r\n")) << moment << ": " << name << " is cut short";
      }
    }
    const int orders = left_on_handheld["Zembra_OrderDB"];
    EXPECT_NE(orders, -1) << moment;
    EXPECT_EQ(left_on_handheld["Zembra_OrderItemDB"], orders) << moment << ": order lines purged apart from orders";
    EXPECT_EQ(left_on_handheld["Zembra_CashDB"], orders) << moment << ": cash purged apart from orders";
  }

  // The next sync refuses with the leftover message or completes without an error line.
  void ExpectNextSyncSound(const std::string& home, const std::string& moment) {
    const std::string log_path = home + "/Agent/HotSync.log";
    const size_t before = fs::exists(log_path) ? fs::file_size(log_path) : 0;
    HotSyncAt(home, {"sync", "--user", "Agent", "--yes"});
    const std::string log = ReadWholeFile(log_path).substr(before);
    if (log.find(Ansi("Завершение прерванного удаления")) != std::string::npos) ++rolled_forward_;
    const bool refused =
        log.find(Ansi("Данные предыдущего сеанса обмена не импортированы в систему учета")) != std::string::npos;
    const bool completed = log.find(Ansi("ZembraToPalm - Загружено: ")) != std::string::npos;
    EXPECT_TRUE(refused || completed) << moment << ": " << log;
    ++(refused ? refused_ : completed_);
    if (!refused) {
      EXPECT_EQ(log.find("ZembraToPalm - Error"), std::string::npos) << moment << ": " << log;
    }
  }

  bool perl_ = false;
  std::map<std::string, std::string> originals_;  // database -> the territory's semicolon file
  int rolled_forward_ = 0;                        // next syncs that completed an interrupted clearing
  int refused_ = 0;                               // next syncs that found the killed sync's output waiting
  int completed_ = 0;
};

TEST_F(CrashConsistencyTest, KilledSyncsLoseNothingAndPurgeTogether) {
  const std::string measured_home = FreshHome(-1);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(HotSyncAt(measured_home, {"sync", "--user", "Agent", "--yes"}).ExitStatus, 0);
  const auto full_sync =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  fs::remove_all(measured_home);

  const int moments = std::stoi(Environment("ZP_CRASH_MOMENTS", "40"));
  int killed = 0;
  for (int moment = 0; moment < moments; ++moment) {
    const std::string home = FreshHome(moment);
    const auto delay = full_sync * (moment + 1) / (moments + 1);
    const std::string label = "kill " + std::to_string(moment) + " after " + std::to_string(delay.count()) + " us";
    TKilledRun run(bin_ + "hotsync", {"--home", home, "sync", "--user", "Agent", "--yes"});
    ASSERT_TRUE(run.Started());
    killed += run.KillAfter(delay) ? 1 : 0;
    ExpectDatabasesRead(home + "/Agent/Device", label);
    ExpectNextSyncSound(home, label);
    ExpectNothingLost(home, label);
    fs::remove_all(home);
    if (HasFailure()) break;
  }
  EXPECT_GT(killed, moments / 2) << "most syncs should end by the kill, not by themselves";
  std::cout << killed << " of " << moments << " syncs killed; the next sync refused " << refused_ << ", completed "
            << completed_ << ", rolled a clearing forward " << rolled_forward_ << " times\n";
}

}  // namespace
