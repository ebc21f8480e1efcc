#include "import/import_output.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/regional_formats.h"
#include "test_support/scratch_directory.h"
#include "test_support/small_filesystem.h"

namespace {

constexpr TXmlFieldSpec kFields[] = {{"ID", TFieldType::ftInteger}, {"Note", TFieldType::ftString, 4}};
constexpr TOutputLayout kLayout{"Out.txt", "ID;NOTE;", TEarlierFile::Replaced, "Out.xml", kFields};

class ImportOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.Directory = scratch_.Path();
    session_.Settings.ExchangeFormat = TExchangeFormat::TXT;
    text_table_.SetMessageSink([this](const std::string& text, const std::string&) { messages_.push_back(text); });
  }

  void WriteRecord(TImportOutput& output, int32_t id, const char* note) {
    output.Append();
    output.SetInteger(0, id);
    output.SetText(1, note);
    output.Post();
  }

  TScratchDirectory scratch_{"zp-output"};
  TExchangeSession session_;
  TcsTXTTable text_table_;
  std::vector<std::string> messages_;
};

TEST_F(ImportOutputTest, TextOutputReplacesAnEarlierFileAndKeepsCellsApart) {
  WriteFileAtomic(scratch_.Path("out.TXT"), "old;\r\n1;\r\n");
  std::unique_ptr<TImportOutput> output = MakeImportOutput(session_, text_table_);
  output->Start(kLayout);
  EXPECT_EQ(output->Bind("id"), 0);
  EXPECT_EQ(output->Bind("Note"), 1);
  WriteRecord(*output, 7, "a;b\nc");
  WriteRecord(*output, -1, "");
  EXPECT_EQ(output->Save(), 2);
  EXPECT_FALSE(std::filesystem::exists(scratch_.Root() / "out.TXT"));
  EXPECT_EQ(ReadWholeFile(scratch_.Path("Out.txt")), "ID;NOTE;\r\n7;a,b c;\r\n-1;;\r\n");
  EXPECT_TRUE(messages_.empty());
}

// The failure names the file and the system's reason, and no file is left behind.
void ExpectSaveFails(TImportOutput& output, const std::string& what, const std::string& path,
                     const std::string& reason) {
  try {
    output.Save();
    ADD_FAILURE() << "Save succeeded";
  } catch (const Exception& error) {
    EXPECT_EQ(std::string(error.what()), what + " \"" + path + "\": " + reason);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ImportOutputTest, TextOutputThatCannotBeCreatedNamesTheReason) {
  session_.Directory = scratch_.Path("missing") + "/";
  std::unique_ptr<TImportOutput> output = MakeImportOutput(session_, text_table_);
  output->Start(kLayout);
  output->Bind("ID");
  output->Bind("NOTE");
  WriteRecord(*output, 1, "x");
  ExpectSaveFails(*output, "Cannot create", session_.Directory + "Out.txt", "No such file or directory");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ImportOutputTest, FullDiskLeavesNoFileInEitherForm) {
  TSmallFilesystem disk("64k");
  if (!disk.Mounted()) GTEST_SKIP() << "no right to mount a small file system";
  disk.Fill("filler");
  session_.Directory = disk.Path();
  for (TExchangeFormat format : {TExchangeFormat::TXT, TExchangeFormat::XML}) {
    session_.Settings.ExchangeFormat = format;
    std::unique_ptr<TImportOutput> output = MakeImportOutput(session_, text_table_);
    output->Start(kLayout);
    output->Bind("ID");
    output->Bind("NOTE");
    for (int i = 0; i < 1000; ++i) WriteRecord(*output, i, "note");
    const char* name = format == TExchangeFormat::TXT ? "Out.txt" : "Out.xml";
    ExpectSaveFails(*output, "Cannot write", disk.Path() + name, "No space left on device");
    EXPECT_FALSE(std::filesystem::exists(disk.Path() + name + ".tmp-" + std::to_string(::getpid())));
  }
}

TEST_F(ImportOutputTest, PacketOutputCutsTextsToTheirWidth) {
  session_.Settings.ExchangeFormat = TExchangeFormat::XML;
  std::unique_ptr<TImportOutput> output = MakeImportOutput(session_, text_table_);
  output->Start(kLayout);
  output->Bind("Id");
  output->Bind("NOTE");
  WriteRecord(*output, 7, "a;b;c;d");
  EXPECT_EQ(output->Save(), 1);
  TClientDataSet packet;
  packet.LoadFromFile(scratch_.Path("Out.xml"));
  packet.First();
  EXPECT_EQ(packet.FieldByName("Note").AsString(), "a;b;");
  EXPECT_EQ(packet.FieldByName("ID").AsInteger(), 7);
}

TEST_F(ImportOutputTest, ExtendedFilesKeepTheirEarlierRecords) {
  TOutputLayout extended = kLayout;
  extended.Earlier = TEarlierFile::Extended;
  WriteFileAtomic(scratch_.Path("Out.txt"), "ID;NOTE;\r\n1;kept;\r\n");
  std::unique_ptr<TImportOutput> text = MakeImportOutput(session_, text_table_);
  text->Start(extended);
  text->Bind("ID");
  text->Bind("NOTE");
  WriteRecord(*text, 2, "new");
  EXPECT_EQ(text->Save(), 2);
  EXPECT_EQ(ReadWholeFile(scratch_.Path("Out.txt")), "ID;NOTE;\r\n1;kept;\r\n2;new;\r\n");

  session_.Settings.ExchangeFormat = TExchangeFormat::XML;
  for (int id : {1, 2}) {
    std::unique_ptr<TImportOutput> packet = MakeImportOutput(session_, text_table_);
    packet->Start(extended);
    packet->Bind("ID");
    packet->Bind("NOTE");
    WriteRecord(*packet, id, "row");
    EXPECT_EQ(packet->Save(), id);
  }
}

TEST_F(ImportOutputTest, DbfHasNoOutput) {
  session_.Settings.ExchangeFormat = TExchangeFormat::DBF;
  EXPECT_EQ(MakeImportOutput(session_, text_table_), nullptr);
}

}  // namespace
