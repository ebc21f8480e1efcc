// A sync as a careless or unlucky user meets it: two syncs of one handheld at once, a damaged
// order database, a settings file that is a FIFO. Each ends with a clear message and an exit
// status that tells the truth, and no order is doubled or lost.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "tests/e2e/e2e_home.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 10;
constexpr int kOrdersPerRound = 3;
const char kOrderHeader[] = "ID;IDCUSTOMER;ORDERDATE;DELIVERDATE;IDPAYMENT;TOTAL;COUNTROW;NPRICE;PERCENTDISCOUNT;";
const char kItemHeader[] = "IDORDER;IDPRODUCT;QUANTITY;PRICE;\r\n";

class SyncGuardE2ETest : public ::testing::Test, protected TE2EHome {
 protected:
  void SetUp() override {
    if (!E2EProgramsBuilt()) GTEST_SKIP() << kE2EProgramsMissing;
    MakeScratch("zp-e2e-guard");
    ASSERT_NO_FATAL_FAILURE(AddUser("Agent", "Agent"));
    WriteFileAtomic(home_ + "/ZembraToPalm.ini", "[COMMON]\r\nEXCHANGEFILEFORMAT=TXT\r\n");
    WriteReferenceTexts();
    LoadEmptyReferenceDatabases();
    Load("Zembra_CashDB", "Id\r\n");
    Load("Zembra_RouteDB", "Id\r\n");
    Load("Zembra_ProtocolDB", "ACTIONDATE\r\n");
  }

  // What the accounting system does with the output of a sync: takes it away.
  void TakeOutputAway() const {
    for (const char* name : {"Order.txt", "OrderItem.txt", "Cash.txt", "RouteOut.txt", "PayByDoc.txt", "Protocol.txt"})
      fs::remove(exchange_ + name);
  }

  std::string LogText() const { return Cp1251ToUtf8(LogBytes()); }
};

// Two syncs of one handheld at once used to import the same orders twice, and to write a header
// line into the middle of a file. Now the second waits for the first and then finds its output
// still waiting for the accounting system.
TEST_F(SyncGuardE2ETest, TwoSyncsAtOnceExportEveryOrderExactlyOnce) {
  std::map<std::string, int> orders_seen;
  std::map<std::string, int> lines_seen;
  for (int round = 0; round < kRounds; ++round) {
    std::string orders = "Id;OrderDate;IdCustomer;Total\r\n";
    std::string items = "IdOrder;IdProduct;Quantity;Price\r\n";
    for (int k = 1; k <= kOrdersPerRound; ++k) {
      const std::string id = std::to_string(round * 10 + k);
      orders += id + ";05.03.2024;1;10\r\n";
      items += id + ";101;1;1\r\n" + id + ";101;2;1\r\n";
    }
    Load("Zembra_OrderDB", orders);
    Load("Zembra_OrderItemDB", items);

    TProgramRun first, second;
    std::thread other([&] { second = HotSync({"sync", "--user", "Agent", "--yes", "--lock-wait", "30"}, "b"); });
    first = HotSync({"sync", "--user", "Agent", "--yes", "--lock-wait", "30"}, "a");
    other.join();
    const int statuses = first.ExitStatus * 10 + second.ExitStatus;
    EXPECT_TRUE(statuses == 2 || statuses == 20)
        << "round " << round << ": " << first.ExitStatus << " " << second.ExitStatus << "\n"
        << first.Err << "\n"
        << second.Err;

    const std::vector<std::string> order_lines = LinesWithEnds(ReadWholeFile(exchange_ + "Order.txt"));
    ASSERT_FALSE(order_lines.empty());
    EXPECT_EQ(order_lines[0].rfind(kOrderHeader, 0), 0u) << order_lines[0];
    for (size_t i = 1; i < order_lines.size(); ++i) {
      EXPECT_NE(order_lines[i].rfind("ID;", 0), 0u) << "a header line inside Order.txt";
      ++orders_seen[order_lines[i].substr(0, order_lines[i].find(';'))];
    }
    const std::vector<std::string> item_lines = LinesWithEnds(ReadWholeFile(exchange_ + "OrderItem.txt"));
    ASSERT_FALSE(item_lines.empty());
    EXPECT_EQ(item_lines[0], kItemHeader);
    for (size_t i = 1; i < item_lines.size(); ++i) ++lines_seen[std::to_string(round) + ":" + item_lines[i]];
    TakeOutputAway();
  }
  ASSERT_EQ(orders_seen.size(), static_cast<size_t>(kRounds * kOrdersPerRound));
  for (const auto& [id, times] : orders_seen) EXPECT_EQ(times, 1) << "order " << id;
  ASSERT_EQ(lines_seen.size(), static_cast<size_t>(kRounds * kOrdersPerRound * 2));
  for (const auto& [line, times] : lines_seen) EXPECT_EQ(times, 1) << "line " << line;
  EXPECT_TRUE(fs::exists(device_ + "/.hotsync.lock"));
  EXPECT_TRUE(fs::exists(exchange_ + ".hotsync.lock"));
}

// A damaged order database used to be logged without its file or reason, and the sync exited 0.
TEST_F(SyncGuardE2ETest, ADamagedOrderDatabaseIsLoggedWithItsFileAndReasonAndExits2) {
  WriteFileAtomic(device_ + "/Zembra_OrderDB.pdb", "not a database");
  const TProgramRun run = HotSync({"sync", "--user", "Agent", "--yes"});
  EXPECT_EQ(run.ExitStatus, 2);
  EXPECT_NE(run.Err.find("hotsync: conduit ZembraToPalm (Wqtz) logged 1 error; see the HotSync log " + home_ +
                         "/Agent/HotSync.log (hotsync log --user Agent)\n"),
            std::string::npos)
      << run.Err;
  EXPECT_NE(LogText().find("ZembraToPalm - Error 16388 :The attempt to open the database failed. (Zembra_OrderDB) (" +
                           device_ + "/Zembra_OrderDB.pdb: truncated header: 14 bytes, a database header takes 78)\n"),
            std::string::npos)
      << LogText();
  EXPECT_EQ(ReadWholeFile(device_ + "/Zembra_OrderDB.pdb"), "not a database");
}

// A FIFO would have held the sync for ever; it is refused at once and the sync fails.
TEST_F(SyncGuardE2ETest, ASettingsFileThatIsAFifoIsNotWaitedOn) {
  fs::remove(home_ + "/ZembraToPalm.ini");
  ASSERT_EQ(::mkfifo((home_ + "/ZembraToPalm.ini").c_str(), 0600), 0);
  const TProgramRun run = HotSync({"sync", "--user", "Agent", "--yes"});
  EXPECT_EQ(run.ExitStatus, 1);
  EXPECT_NE(run.Err.find("hotsync: conduit ZembraToPalm (Wqtz) returned -1"), std::string::npos) << run.Err;
}

}  // namespace
