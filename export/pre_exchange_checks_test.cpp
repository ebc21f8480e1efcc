#include "export/pre_exchange_checks.h"

#include <gtest/gtest.h>

#include "api/hotsync_api.h"
#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "test_support/scratch_directory.h"
#include "test_support/session_recorder.h"

namespace {

class PreExchangeChecksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseFormat(TExchangeFormat::TXT);
    session_.Directory = directory_;
    session_.ConduitName = "ZembraToPalm";
    recorder_.Answer = IDOK;
    recorder_.Attach(session_);
  }

  void UseFormat(TExchangeFormat format) {
    session_.Settings.ExchangeFormat = format;
    session_.Files = ExchangeFileSetFor(format);
  }
  void Touch(const std::string& name) { WriteFileAtomic(directory_ + name, "x"); }
  void TouchReferences(const std::string& ext) {
    for (const char* name : {"Product", "Customer", "Category"}) Touch(name + ext);
  }

  TScratchDirectory scratch_{"zp-checks"};
  const std::string directory_ = scratch_.Path();
  TExchangeSession session_;
  TSessionRecorder recorder_;
};

TEST_F(PreExchangeChecksTest, ALeftoverOutputFileStopsWithTheFirstMessageListingAllFivePaths) {
  TouchReferences(".txt");
  Touch("RouteOut.txt");
  EXPECT_FALSE(PreExchangeChecks(session_));
  const std::string d = directory_;
  const std::string expected =
      Ansi("Данные предыдущего сеанса обмена не импортированы в систему учета") + "\r" +
      Ansi("Выполните процедуру импорта в систему учета или удалите файлы ") + "\r" + d + "Order.txt\r" + d +
      "OrderItem.txt\r" + d + "Cash.txt\r" + d + "PayByDoc.txt\r" + d + "RouteOut.txt\r" +
      Ansi("После этого повторите процедуру синхронизации") + "\r" +
      "\xcf\xf0\xee\xf6\xe5\xe4\xf3\xf0\xe0 \xf1\xe8\xed\xf5\xf0\xee\xed\xe8\xe7\xe0\xf6\xe8\xe8 "
      "\xef\xf0\xe5\xf0\xe2\xe0\xed\xe0";
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_EQ(recorder_.Boxes[0].Text, expected);
  EXPECT_EQ(recorder_.Boxes[0].Caption, "\xce\xf8\xe8\xe1\xea\xe0");
  EXPECT_EQ(recorder_.Boxes[0].Style, unsigned(MB_OK | MB_ICONERROR));
  EXPECT_EQ(recorder_.LogTexts(), std::vector<std::string>{"\xce\xf8\xe8\xe1\xea\xe0 ZembraToPalm\r" + expected});
  EXPECT_EQ(recorder_.LogActivities(), std::vector<int>{21});
}

TEST_F(PreExchangeChecksTest, AMissingReferenceFileStopsWithTheSecondMessage) {
  UseFormat(TExchangeFormat::XML);
  Touch("Product.xml");
  Touch("Customer.xml");
  Touch("Note1.xlm");
  EXPECT_FALSE(PreExchangeChecks(session_));
  const std::string d = directory_;
  const std::string expected =
      "\xcd\xe5\xf2 \xf1\xef\xf0\xe0\xe2\xee\xf7\xed\xe8\xea\xee\xe2 \xe4\xeb\xff "
      "\xf1\xe8\xed\xf5\xf0\xee\xed\xe8\xe7\xe0\xf6\xe8\xe8 \xf1 PALM\r" +
      Ansi("Выполните процедуру экспорта из системы учета") + "\r" + Ansi("Проверьте наличие файлов") + "\r" + d +
      "Product.xml\r" + d + "Customer.xml\r" + d + "Category.xml\r" +
      Ansi("После этого повторите процедуру синхронизации") + "\r" + Ansi("Процедура синхронизации прервана");
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_EQ(recorder_.Boxes[0].Text, expected);
  EXPECT_EQ(recorder_.LogTexts(), std::vector<std::string>{Ansi("Ошибка ZembraToPalm") + "\r" + expected});
}

TEST_F(PreExchangeChecksTest, LeftoverOutputIsReportedBeforeMissingReferences) {
  Touch("Cash.txt");
  EXPECT_FALSE(PreExchangeChecks(session_));
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_EQ(recorder_.Boxes[0].Text, UnimportedOutputMessage(session_));
}

TEST_F(PreExchangeChecksTest, TxtInDbfOutLooksForTheDbaseOrderFilesButTheTextPayments) {
  UseFormat(TExchangeFormat::TXTINDBFOUT);
  TouchReferences(".txt");
  Touch("Order.txt");
  EXPECT_TRUE(PreExchangeChecks(session_));
  EXPECT_TRUE(recorder_.Boxes.empty());
  Touch("PayByDoc.txt");
  EXPECT_FALSE(PreExchangeChecks(session_));
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_NE(recorder_.Boxes[0].Text.find(directory_ + "Order.dbf\r"), std::string::npos);
}

TEST_F(PreExchangeChecksTest, DbfNeedsTheThreeDbaseTablesItReads) {
  UseFormat(TExchangeFormat::DBF);
  TouchReferences(".txt");
  EXPECT_FALSE(PreExchangeChecks(session_));
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_NE(recorder_.Boxes[0].Text.find(directory_ + "Category.dbf\r"), std::string::npos);
  TouchReferences(".dbf");
  EXPECT_TRUE(PreExchangeChecks(session_));
}

TEST_F(PreExchangeChecksTest, FilesAreFoundWithoutRegardToCase) {
  for (const char* name : {"PRODUCT.TXT", "customer.txt", "Category.Txt"}) Touch(name);
  EXPECT_TRUE(PreExchangeChecks(session_));
  Touch("orderitem.TXT");
  EXPECT_FALSE(PreExchangeChecks(session_));
}

TEST_F(PreExchangeChecksTest, OptionalReferenceFilesNeverStopTheExchange) {
  TouchReferences(".txt");
  EXPECT_TRUE(PreExchangeChecks(session_));
  EXPECT_TRUE(recorder_.Log.empty());
}

}  // namespace
