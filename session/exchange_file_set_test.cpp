#include "session/exchange_file_set.h"

#include <gtest/gtest.h>

namespace {

TEST(ExchangeFileSetTest, TextFormatsDifferOnlyInTheOrderOutput) {
  const TExchangeFileSet txt = ExchangeFileSetFor(TExchangeFormat::TXT);
  const TExchangeFileSet mixed = ExchangeFileSetFor(TExchangeFormat::TXTINDBFOUT);
  EXPECT_EQ(txt.Order, "Order.txt");
  EXPECT_EQ(txt.Note1, "Note1.txt");
  EXPECT_EQ(mixed.Order, "Order.dbf");
  EXPECT_EQ(mixed.OrderItem, "OrderItem.dbf");
  EXPECT_EQ(mixed.Cash, "Cash.dbf");
  EXPECT_EQ(mixed.PayByDoc, "PayByDoc.txt");
  EXPECT_EQ(mixed.RouteOut, "RouteOut.txt");
  EXPECT_EQ(mixed.Document, "Document.txt");
  EXPECT_EQ(mixed.CurrencyCurs, "CurrencyCurs.txt");
}

TEST(ExchangeFileSetTest, XmlNamesTheFirstNoteListXlmAndDbfHasNoReceivables) {
  const TExchangeFileSet xml = ExchangeFileSetFor(TExchangeFormat::XML);
  EXPECT_EQ(xml.Note1, "Note1.xlm");
  EXPECT_EQ(xml.Note2, "Note2.xml");
  EXPECT_EQ(xml.TradeAgent, "TradeAgent.xml");
  const TExchangeFileSet dbf = ExchangeFileSetFor(TExchangeFormat::DBF);
  EXPECT_EQ(dbf.Document, "");
  EXPECT_EQ(dbf.Product, "Product.dbf");
  EXPECT_EQ(dbf.Note1, "Note1.dbf");
  EXPECT_EQ(dbf.TypePrice, "TypePrice.dbf");
}

}  // namespace
