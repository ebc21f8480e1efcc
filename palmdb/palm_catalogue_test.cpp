#include "palmdb/palm_catalogue.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
  const char* component;
  const char* database;
  const char* type;
  uint16_t version;
  int fields;
  size_t fixed_bytes;
  int texts;
};

// Name, type, version, field count and record size (fixed bytes + one zero per text) of each database.
const Expected kExpected[] = {
    {"ptOrder", "Zembra_OrderDB", "ORDR", 0, 13, 40, 4},
    {"ptOrderItem", "Zembra_OrderItemDB", "ORDI", 0, 4, 24, 0},
    {"ptProduct", "Zembra_ProductDB", "PROD", 256, 13, 60, 4},
    {"ptProductIndex", "Zembra_ProductIndexDB", "PROD", 256, 4, 16, 0},
    {"ptCustomer", "Zembra_CustomerDB", "CUST", 256, 10, 32, 4},
    {"ptCategory", "Zembra_CategoryDB", "PRCA", 256, 7, 24, 1},
    {"ptTypePayment", "Zembra_TypePaymentDB", "TPAY", 256, 3, 8, 1},
    {"ptTypePrice", "Zembra_TypePriceDB", "TPRI", 256, 2, 4, 1},
    {"ptDoc", "Zembra_DocDB", "ORDR", 0, 22, 92, 4},
    {"ptCurrency", "Zembra_CurrencyDB", "ORDR", 0, 4, 8, 2},
    {"ptCurrencyCurs", "Zembra_CurrencyCursDB", "ORDR", 0, 3, 14, 0},
    {"ptCash", "Zembra_CashDB", "ORDR", 0, 9, 42, 1},
    {"ptCustomerIndex", "Zembra_CustomerIndexDB", "PROD", 256, 4, 16, 0},
    {"ptRoute", "Zembra_RouteDB", "ROUT", 256, 23, 82, 5},
    {"ptRouteIndex", "Zembra_RouteIndexDB", "PROC", 256, 4, 16, 0},
    {"ptTradeAgent", "Zembra_TradeAgentsDB", "TRAG", 256, 2, 4, 1},
    {"ptQuest", "Zembra_QuestDb", "ANIT", 256, 2, 4, 1},
    {"ptQuestItem", "Zembra_QuestItemDb", "ANIT", 256, 8, 8, 6},
    {"ptAnswer", "Zembra_AnswerDb", "ANIT", 256, 5, 18, 0},
    {"ptAnswerItem", "Zembra_AnswerItemDb", "ANIT", 256, 4, 12, 1},
    {"ptNote1", "Zembra_Note1DB", "NOTE", 0, 1, 0, 1},
    {"ptNote2", "Zembra_Note2DB", "NOTE", 0, 1, 0, 1},
    {"ptProtocol", "Zembra_ProtocolDB", "Prot", 0, 6, 14, 2},
};

TEST(PalmCatalogueTest, EveryDatabaseHasItsNameTypeVersionAndRecordSize) {
  TPalmCatalogue catalogue;
  ASSERT_EQ(std::size(kExpected), catalogue.Tables().size());
  for (size_t i = 0; i < std::size(kExpected); ++i) {
    const Expected& expected = kExpected[i];
    TpfgPalmRemoteTable& table = *catalogue.Tables()[i];
    SCOPED_TRACE(expected.component);
    EXPECT_EQ(table.Name(), expected.component);
    EXPECT_EQ(table.TableName(), expected.database);
    EXPECT_EQ(table.TableType(), expected.type);
    EXPECT_EQ(table.Version(), expected.version);
    EXPECT_EQ(table.CreatorID(), "Wqtz");
    EXPECT_EQ(table.FieldDefs().Count(), expected.fields);
    EXPECT_EQ(table.FieldDefs().Alignment(), 0u);
    EXPECT_TRUE(table.FieldDefs().StrictFields());
    EXPECT_FALSE(table.ReadOnly());
    EXPECT_EQ(table.CategoryFilter(), -1);
    EXPECT_EQ(table.Options() == TpfgPalmRemoteTableOptions{opStringsAlign}, table.Name() == "ptCustomer");
    int texts = 0;
    for (int f = 0; f < table.FieldDefs().Count(); ++f) texts += table.FieldDefs()[f].DataType() == ptString;
    EXPECT_EQ(texts, expected.texts);
    std::vector<uint8_t> record;
    LocalToRemoteRecord(table.FieldDefs(), {}, std::vector<std::string>(expected.fields), record, TFormatSettings{});
    EXPECT_EQ(record.size(), expected.fixed_bytes + expected.texts);
    EXPECT_EQ(catalogue.FindByDatabaseName(expected.database), &table);
  }
  EXPECT_EQ(catalogue.FindByDatabaseName("Zembra_Nothing"), nullptr);
}

TEST(PalmCatalogueTest, SelectedIsTheOnlyWordField) {
  TPalmCatalogue catalogue;
  for (TpfgPalmRemoteTable* table : catalogue.Tables()) {
    for (const TpfgPalmField& field : table->Fields()) {
      EXPECT_EQ(field.DataType() == ptWord, table->Name() == "ptDoc" && field.FieldName() == "Selected")
          << table->Name() << "." << field.FieldName();
    }
  }
}

}  // namespace
