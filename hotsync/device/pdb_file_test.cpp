#include "hotsync/device/pdb_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "hotsync/device/byte_order.h"

namespace {

PdbDatabase SmallDatabase() {
  PdbDatabase db;
  db.name = "Zembra_TestDB";
  db.version = 1;
  db.creation_date = 1;
  db.modification_date = 2;
  db.backup_date = 3;
  db.modification_number = 4;
  db.type = 0x44415441;     // DATA
  db.creator = 0x5771747A;  // Wqtz
  db.unique_id_seed = 0x10;
  db.app_info = "AI";
  db.records = {{kRecordDirty, 3, 5, "abc"}, {0, 0, 6, ""}, {kRecordSecret, 15, 7, "z"}};
  return db;
}

void Put(std::string& bytes, size_t offset, uint32_t value, size_t width) {
  std::string encoded;
  AppendBigEndian(encoded, value, width);
  for (size_t i = 0; i < width; ++i) bytes.at(offset + i) = encoded[i];
}

std::string ParseError(const std::string& bytes) {
  try {
    ParsePdb(bytes, "t.pdb");
  } catch (const EPdbFormatError& e) {
    return e.what();
  }
  return "parsed";
}

TEST(PdbFile, WritesTheStandardLayout) {
  const std::string bytes = SerializePdb(SmallDatabase());
  ASSERT_EQ(bytes.size(), 110u);
  EXPECT_EQ(bytes.substr(0, 14), std::string("Zembra_TestDB\0", 14));
  EXPECT_EQ(ReadU16(bytes, 34), 1);
  EXPECT_EQ(ReadU32(bytes, 52), 104u);  // application info after the list and two padding bytes
  EXPECT_EQ(ReadU32(bytes, 56), 0u);
  EXPECT_EQ(bytes.substr(60, 8), "DATAWqtz");
  EXPECT_EQ(ReadU32(bytes, 68), 0x10u);
  EXPECT_EQ(ReadU32(bytes, 72), 0u);
  EXPECT_EQ(ReadU16(bytes, 76), 3);
  EXPECT_EQ(bytes.substr(78, 24), std::string("\0\0\0\x6A\x43\0\0\x05"
                                              "\0\0\0\x6D\x00\0\0\x06"
                                              "\0\0\0\x6D\x1F\0\0\x07",
                                              24));
  EXPECT_EQ(bytes.substr(102), std::string("\0\0AIabcz", 8));
}

TEST(PdbFile, RoundTripsEverything) {
  PdbDatabase db = SmallDatabase();
  db.sort_info = "SORT";
  EXPECT_EQ(ParsePdb(SerializePdb(db), "t.pdb"), db);
  db.app_info.clear();
  db.records.clear();
  EXPECT_EQ(ParsePdb(SerializePdb(db), "t.pdb"), db);
  EXPECT_EQ(ReadPdbName(SerializePdb(db), "t.pdb"), "Zembra_TestDB");
}

// Records read view the file's bytes: copies of the database keep them, and a record given
// bytes the database keeps views those.
TEST(PdbFile, ReadRecordsOutliveTheBytesTheyWereReadFrom) {
  std::optional<PdbDatabase> read = ParsePdb(SerializePdb(SmallDatabase()), "t.pdb");
  PdbDatabase copy = *read;
  read.reset();
  copy.records[1].data = copy.Keep(std::string(100, 'w'));
  EXPECT_EQ(copy.records[0].data, "abc");
  EXPECT_EQ(copy.records[1].data, std::string(100, 'w'));
  EXPECT_EQ(copy.records[2].data, "z");
  PdbDatabase expected = SmallDatabase();
  expected.records[1].data = expected.Keep(std::string(100, 'w'));
  EXPECT_EQ(ParsePdb(SerializePdb(copy), "t.pdb"), expected);
}

// Records whose bytes lie one after another go out as one piece, short scattered ones gathered;
// the pieces make the same file whatever the order the bytes lie in.
TEST(PdbFile, WritesRecordBytesInFewPieces) {
  PdbDatabase db = SmallDatabase();
  db.records.clear();
  std::string scattered;
  for (uint32_t i = 0; i < 3000; ++i) scattered += static_cast<char>('a' + i % 26);
  const std::string large(100000, 'L');
  const std::string_view whole = db.Keep(large);
  for (uint32_t i = 0; i < 3000; ++i) {
    // Short records viewing bytes in falling order, then a large record cut in two.
    db.records.push_back({0, 0, i + 1, std::string_view(scattered).substr(2999 - i, 1)});
  }
  db.records.push_back({0, 0, 3001, whole.substr(0, 60000)});
  db.records.push_back({0, 0, 3002, whole.substr(60000)});
  std::vector<std::string> pieces;
  WritePdb(db, [&pieces](std::string_view piece) { pieces.emplace_back(piece); });
  std::string joined;
  for (const std::string& piece : pieces) joined += piece;
  EXPECT_EQ(joined, SerializePdb(db));
  EXPECT_EQ(pieces.size(), 3u);  // header and lists, the gathered short records, the large run
  EXPECT_EQ(pieces.back(), large);
  EXPECT_EQ(ParsePdb(joined, "t.pdb"), db);
}

TEST(PdbFile, ChainsRecordListsBeyond65535Records) {
  PdbDatabase db = SmallDatabase();
  db.records.clear();
  for (uint32_t i = 0; i < 140000; ++i)
    db.records.push_back({0, static_cast<uint8_t>(i % 16), i + 1, db.Keep(std::string(1, static_cast<char>(i)))});
  const std::string bytes = SerializePdb(db);
  EXPECT_EQ(ReadU16(bytes, 76), 65535);
  const uint32_t second = ReadU32(bytes, 72);
  EXPECT_EQ(second, 78u + 65535u * 8u);
  EXPECT_EQ(ReadU16(bytes, second + 4), 65535);
  const uint32_t third = ReadU32(bytes, second);
  EXPECT_EQ(third, second + 6u + 65535u * 8u);
  EXPECT_EQ(ReadU16(bytes, third + 4), 140000 - 2 * 65535);
  EXPECT_EQ(ReadU32(bytes, third), 0u);
  EXPECT_EQ(ParsePdb(bytes, "t.pdb"), db);
}

TEST(PdbFile, RejectsDamagedFilesNamingThemAndTheFault) {
  const std::string good = SerializePdb(SmallDatabase());
  EXPECT_EQ(ParseError(good.substr(0, 10)), "t.pdb: truncated header: 10 bytes, a database header takes 78");
  EXPECT_EQ(ParseError(good.substr(0, 90)),
            "t.pdb: record list of 3 entries at offset 78 runs past the end of the file (90 bytes)");

  std::string bytes = good;
  Put(bytes, 76, 65535, 2);
  EXPECT_EQ(ParseError(bytes),
            "t.pdb: record list of 65535 entries at offset 78 runs past the end of the file (110 bytes)");

  bytes = good;
  Put(bytes, 78, 109, 4);
  Put(bytes, 86, 106, 4);
  EXPECT_EQ(ParseError(bytes),
            "t.pdb: record 1 offset 106 lies before the record 0 offset 109: offsets out of order or overlapping");

  bytes = good;
  Put(bytes, 94, 500, 4);
  EXPECT_EQ(ParseError(bytes), "t.pdb: record 2 offset 500 lies past the end of the file (110 bytes)");

  bytes = good;
  Put(bytes, 52, 80, 4);
  EXPECT_EQ(ParseError(bytes),
            "t.pdb: application info block offset 80 lies inside the record list, which ends at 102");

  bytes = good;
  Put(bytes, 78, 103, 4);  // the first record reaching into the application info block
  EXPECT_EQ(ParseError(bytes),
            "t.pdb: record 0 offset 103 lies before the application info block offset 104: "
            "offsets out of order or overlapping");

  bytes = good;
  Put(bytes, 32, kPdbResourceDatabase, 2);
  EXPECT_EQ(ParseError(bytes), "t.pdb: a resource database, not a record database");
}

TEST(PdbFile, RejectsRecordListChainsThatLoopOrRunOut) {
  std::string bytes = SerializePdb(SmallDatabase());
  Put(bytes, 72, 78, 4);
  EXPECT_EQ(ParseError(bytes), "t.pdb: record list at offset 78 lies before the end of the previous list (102)");
  Put(bytes, 72, 108, 4);
  EXPECT_EQ(ParseError(bytes), "t.pdb: record list header at offset 108 lies past the end of the file (110 bytes)");
}

TEST(PdbFile, RefusesNamesThatDoNotFitTheHeader) {
  PdbDatabase db = SmallDatabase();
  db.name = std::string(32, 'N');
  EXPECT_THROW(SerializePdb(db), EPdbFormatError);
  db.name = std::string(31, 'N');
  EXPECT_EQ(ParsePdb(SerializePdb(db), "t.pdb").name, db.name);
}

}  // namespace
