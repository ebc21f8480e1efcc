#include "import/import_phase.h"

#include "core/cp1251.h"
#include "exchange/odbc_test_drivers.h"
#include "import/import_test_fixture.h"

namespace {

class ImportPhaseTest : public ImportTest {
 protected:
  void FillHandheld() {
    Fill(catalogue_->ptOrder, {{{"Id", "1"}, {"OrderDate", "05.03.2024"}}});
    Fill(catalogue_->ptOrderItem, {{{"IdOrder", "1"}, {"IdProduct", "2"}}});
    Fill(catalogue_->ptDoc, {{{"Id", "4"}, {"SummaPay", "10"}}});
  }
};

TEST_F(ImportPhaseTest, OrdersThenPayments) {
  FillHandheld();
  EXPECT_EQ(RunImportPhase(session_), 1);
  EXPECT_TRUE(ExchangeFileExists("Order.txt"));
  EXPECT_TRUE(ExchangeFileExists("PayByDoc.txt"));
  EXPECT_EQ(recorder_.Log.front().Text, Ansi("PALM-ПК: Импорт заголовков документов"));
  EXPECT_EQ(recorder_.Log.back().Text, Ansi("PALM-ПК: Загружено: 1"));
  // The handheld holds no cash and no route work: each of those steps reports it and the import goes on.
  ASSERT_EQ(recorder_.Boxes.size(), 3u);
  EXPECT_EQ(recorder_.Boxes[0].Text, Ansi("Ошибка при импорте документов оплат."));
  EXPECT_EQ(recorder_.Boxes[1].Text, Ansi("Ошибка при импорте маршрутных листов."));
  EXPECT_EQ(recorder_.Boxes[2].Text, Ansi("Обмен завершен. Очистить таблицу заказов?"));
}

TEST_F(ImportPhaseTest, TextInDbfOutWritesTheOrdersAsDbaseTablesThenThePayments) {
  if (!BuildRegistersDriver(kDefaultODBCDriverName)) GTEST_SKIP() << "the dBase driver is not built";
  UseTestDriverRegistry();
  UseFormat(TExchangeFormat::TXTINDBFOUT);
  FillHandheld();
  recorder_.Answer = IDNO;
  EXPECT_EQ(RunImportPhase(session_), 1);
  EXPECT_FALSE(ExchangeFileExists("Order.txt"));
  EXPECT_TRUE(ExchangeFileExists("order.dbf"));
  EXPECT_TRUE(ExchangeFileExists("PayByDoc.txt"));
  EXPECT_EQ(recorder_.Log, (std::vector<TLoggedLine>{{Ansi("PALM-ПК: Импорт заголовков документов"), 19},
                                                     {Ansi("PALM-ПК: Импорт строк документов"), 19},
                                                     {Ansi("PALM-ПК: Оплаты по документам отгрузки"), 19},
                                                     {Ansi("PALM-ПК: Загружено: 1"), 19}}));
  ASSERT_EQ(recorder_.Boxes.size(), 1u);
  EXPECT_EQ(RecordsOn(catalogue_->ptOrder), 1);
}

}  // namespace
