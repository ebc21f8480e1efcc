#include "tests/e2e/e2e_home.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/atomic_file.h"
#include "core/cp1251.h"
#include "test_support/built_programs.h"

namespace fs = std::filesystem;

bool E2EProgramsBuilt() { return MissingFromBin({"hotsync", "handheld", "libZembraToPalm.so"}).empty(); }

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> LinesWithEnds(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start + 2));
  return lines;
}

std::string Line(const char* utf8) { return Ansi(utf8); }

void TE2EHome::MakeScratch(std::string_view scratch_prefix) {
  bin_ = BinDirectory();
  scratch_ = std::make_unique<TScratchDirectory>(scratch_prefix);
  root_ = scratch_->Root();
  home_ = (root_ / "home").string();
}

void TE2EHome::AddUser(const std::string& user, const std::string& folder) {
  ASSERT_EQ(HotSync({"register"}).ExitStatus, 0);
  ASSERT_EQ(HotSync({"users", "add", user}).ExitStatus, 0);
  user_folder_ = folder;
  exchange_ = home_ + "/" + folder + "/Default/";
  device_ = home_ + "/" + folder + "/Device";
  fs::create_directories(exchange_);
  fs::create_directories(device_);
}

TProgramRun TE2EHome::HotSync(std::vector<std::string> arguments, const std::string& capture) const {
  arguments.insert(arguments.begin(), {"--home", home_});
  const std::string directory = (root_ / capture).string();
  fs::create_directories(directory);
  return RunProgram(bin_ + "hotsync", arguments, directory);
}

TProgramRun TE2EHome::HotSyncAt(const std::string& home, std::vector<std::string> arguments) const {
  arguments.insert(arguments.begin(), {"--home", home});
  return RunProgram(bin_ + "hotsync", arguments, root_.string());
}

TProgramRun TE2EHome::Handheld(const std::vector<std::string>& arguments) const {
  return RunProgram(bin_ + "handheld", arguments, root_.string());
}

void TE2EHome::WriteReferenceTexts(const std::string& customer_id, const std::string& product_id) const {
  WriteFileAtomic(exchange_ + "Category.txt", "Id;IdParent;Name\r\n1;0;Drinks;\r\n");
  WriteFileAtomic(exchange_ + "Customer.txt",
                  "Id;Code;Name;Address;CurrentSaldo;nPrice;PercentDiscount;IdCategory;IdQuest;DateForDelivery\r\n" +
                      customer_id + ";C1;Shop;Street 1;0;1;0;0;0;;\r\n");
  WriteFileAtomic(exchange_ + "Product.txt",
                  "Id;IdCategory;Code;Name;Fullname;Ed;Standard;Quantity;Price1;Price2;Price3;Price4;Aliquot\r\n" +
                      product_id + ";1;P1;Juice;Apple juice;pc;1;10;1.5;1.4;1.3;1.2;0;\r\n");
}

void TE2EHome::LoadEmptyReferenceDatabases() const {
  for (const char* database : {"Zembra_CustomerDB", "Zembra_ProductDB", "Zembra_CategoryDB"}) Load(database, "Id\r\n");
  for (const char* index : {"Zembra_CustomerIndexDB", "Zembra_ProductIndexDB"}) Load(index, "Name\r\n");
}

void TE2EHome::Load(const std::string& database, const std::string& text) const {
  const std::string file = (root_ / "load.txt").string();
  WriteFileAtomic(file, text);
  const TProgramRun run = Handheld({"load", device_, database, file});
  ASSERT_EQ(run.ExitStatus, 0) << run.Err;
}

std::vector<std::string> TE2EHome::Dump(const std::string& database) const {
  const TProgramRun run = Handheld({"dump", device_, database});
  EXPECT_EQ(run.ExitStatus, 0) << run.Err;
  return LinesOf(run.Out);
}

int TE2EHome::RecordsOn(const std::string& database) const {
  const TProgramRun run = Handheld({"dump", device_, database});
  EXPECT_EQ(run.ExitStatus, 0) << run.Err;
  return static_cast<int>(std::count(run.Out.begin(), run.Out.end(), '\n')) - 1;
}

std::string TE2EHome::LogBytes() const { return ReadWholeFile(LogPath()); }
