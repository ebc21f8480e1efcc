#include "odbc/connection_string.h"

#include <gtest/gtest.h>

#include "odbc/driver_error.h"

namespace {

TEST(ConnectionString, TheConduitsLinesAndBracedValues) {
  const ConnectionAttributes dbase = ParseConnectionString(
      "DRIVER=Microsoft dBase-Treiber (*.dbf);DefaultDir=/x/;SourceDB=/x/;SourceType=DBF;Exclusive=No;"
      "BackgroundFetch=Yes;FIL=dBase III;DriverId=21;MaxBufferSize=2048;PageTimeout=5");
  EXPECT_EQ(dbase.at("DRIVER"), "Microsoft dBase-Treiber (*.dbf)");
  EXPECT_EQ(dbase.at("DEFAULTDIR"), "/x/");
  EXPECT_EQ(dbase.at("FIL"), "dBase III");
  EXPECT_EQ(dbase.size(), 10u);
  const ConnectionAttributes braced =
      ParseConnectionString("DRIVER={Microsoft Access Driver (*.mdb)};DBQ={/a;b/answer.mdb};");
  EXPECT_EQ(braced.at("DRIVER"), "Microsoft Access Driver (*.mdb)");
  EXPECT_EQ(braced.at("DBQ"), "/a;b/answer.mdb");
}

TEST(ConnectionString, MalformedPairsAreRefused) {
  EXPECT_THROW(ParseConnectionString("DRIVER=x;garbage;DBQ=y"), DriverError);
  EXPECT_THROW(ParseConnectionString("DBQ={/never/closed"), DriverError);
  EXPECT_TRUE(ParseConnectionString(";;").empty());
}

}  // namespace
