#include "import/pay_by_doc.h"

#include "core/cp1251.h"
#include "exchange/client_dataset.h"
#include "import/import_test_fixture.h"

namespace {

const char kHeader[] =
    "Id;IdOwner;IdInOwner;DateDoc;SrokOpl;Ndoc;Note;IdCustomer;IdTradeAgent;IdCurrency;CurrencyCurs;"
    "CurrencySumma;Summa;SummaReturn;SummaSaldo;SummaPaid;DatePay;TimePay;NotePay;SummaPay;\r\n";

class PayByDocTest : public ImportTest {
 protected:
  void FillDocuments(std::initializer_list<const char*> amounts) {
    std::vector<std::vector<std::pair<const char*, std::string>>> rows;
    int id = 1;
    for (const char* amount : amounts) {
      rows.push_back({{"Id", std::to_string(id++)},
                      {"IdOwner", "2"},
                      {"IdInOwner", "3"},
                      {"DateDoc", "01.03.2024"},
                      {"DatePaid", "15.03.2024"},
                      {"NDoc", "N-1;2"},
                      {"Note", "doc"},
                      {"NotePay", "paid\r\nin cash"},
                      {"TimePay", "12:30"},
                      {"IdCustomer", "10"},
                      {"IdTradeAgent", "4"},
                      {"IdCurrency", "1"},
                      {"CurrencyCurs", "1.5"},
                      {"CurrencySumma", "300"},
                      {"Summa", "450"},
                      {"SummaSaldo", "200"},
                      {"SummaReturn", "50"},
                      {"SummaPaid", "100"},
                      {"SummaPay", amount},
                      {"DatePay", ""},
                      {"IdCashOrder", "9"},
                      {"Selected", "1"}});
    }
    Fill(catalogue_->ptDoc, rows);
  }
  void Import() { ImportPaymentsByDocuments(session_, *catalogue_, text_table_); }
};

TEST_F(PayByDocTest, OnlyPositivePaymentsAreWritten) {
  FillDocuments({"100", "0", "-5"});
  Import();
  EXPECT_EQ(ExchangeFile("PayByDoc.txt"), std::string(kHeader) +
                                              "1;2;3;01.03.2024;15.03.2024;N-1,2;doc;10;4;1;1.5;300;450;50;200;100;30."
                                              "12.1899;12:30;paid  in cash;100;\r\n");
  EXPECT_EQ(recorder_.Log, (std::vector<TLoggedLine>{{Ansi("PALM-ПК: Оплаты по документам отгрузки"), 19},
                                                     {Ansi("PALM-ПК: Загружено: 1"), 19}}));
  EXPECT_TRUE(progress_.Marked(7));
  EXPECT_EQ(progress_.ProgressBar.Position(), 3);
  EXPECT_EQ(RecordsOn(catalogue_->ptDoc), 3);
}

TEST_F(PayByDocTest, TextWithoutPaymentsLogsZeroAndLeavesNoFile) {
  FillDocuments({"0"});
  Import();
  EXPECT_FALSE(ExchangeFileExists("PayByDoc.txt"));
  EXPECT_EQ(recorder_.Log.back(), (TLoggedLine{Ansi("PALM-ПК: Загружено: 0"), 19}));
}

TEST_F(PayByDocTest, XmlWithoutPaymentsLogsNoCount) {
  UseFormat(TExchangeFormat::XML);
  FillDocuments({"-5"});
  Import();
  EXPECT_FALSE(ExchangeFileExists("PayByDoc.xml"));
  EXPECT_EQ(recorder_.Log.size(), 1u);
}

TEST_F(PayByDocTest, XmlPacketHoldsTheTwentyFields) {
  UseFormat(TExchangeFormat::XML);
  FillDocuments({"0", "100"});
  Import();
  TClientDataSet packet;
  packet.LoadFromFile((root_ / "exchange" / "PayByDoc.xml").string());
  std::string names;
  for (const TFieldDef& def : packet.FieldDefs().Items()) names += def.Name + ";";
  EXPECT_EQ(names,
            "Id;IdOwner;IdInOwner;DATEDOC;SrokOpl;DATEPAY;TIMEPAY;NDOC;NOTE;IdCustomer;IdTradeAgent;IdCurrency;"
            "CurrencyCurs;CurrencySumma;Summa;SummaReturn;SummaSaldo;SummaPaid;SummaPay;NOTEPay;");
  ASSERT_EQ(packet.RecordCount(), 1);
  packet.First();
  EXPECT_EQ(packet.FieldByName("Id").AsInteger(), 2);
  EXPECT_EQ(packet.FieldByName("NDOC").AsString(), "N-1;2");
  EXPECT_EQ(packet.FieldByName("SrokOpl").AsDateTime(), EncodeDate(2024, 3, 15));
  EXPECT_EQ(packet.FieldByName("DATEPAY").AsDateTime(), TDateTime{});
  EXPECT_EQ(packet.FieldByName("SummaReturn").AsFloat(), 50);
  EXPECT_EQ(recorder_.Log.back(), (TLoggedLine{Ansi("PALM-ПК: Загружено: 1"), 19}));
}

TEST_F(PayByDocTest, DbfAnnouncesTheStepAndWritesNothing) {
  UseFormat(TExchangeFormat::DBF);
  FillDocuments({"100"});
  Import();
  EXPECT_EQ(recorder_.Log, (std::vector<TLoggedLine>{{Ansi("PALM-ПК: Оплаты по документам отгрузки"), 19}}));
  EXPECT_TRUE(std::filesystem::is_empty(root_ / "exchange"));
}

TEST_F(PayByDocTest, WithoutTheDocumentDatabaseNothingHappens) {
  Import();
  EXPECT_TRUE(recorder_.Log.empty());
  EXPECT_TRUE(recorder_.Status.empty());
  EXPECT_TRUE(std::filesystem::is_empty(root_ / "exchange"));
}

}  // namespace
