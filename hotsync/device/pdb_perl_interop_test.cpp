// Files written by Perl's Palm::PDB open here, and files written here load in Palm::PDB.
#include <gtest/gtest.h>

#include <cstdio>

#include "api/sync_manager.h"
#include "core/atomic_file.h"
#include "hotsync/device/device.h"
#include "hotsync/device/temp_device_directory.h"

namespace {

bool PerlHasPalmPdb() { return std::system("perl -MPalm::PDB -MPalm::Raw -e 1 2>/dev/null") == 0; }

// Runs a Perl script with one argument and returns what it prints.
std::string RunPerl(const TempDeviceDirectory& dir, const std::string& script, const std::string& argument) {
  const std::string script_path = (dir.Root() / "script.pl").string();
  WriteFileAtomic(script_path, script);
  FILE* pipe = popen(("perl '" + script_path + "' '" + argument + "'").c_str(), "r");
  if (!pipe) return "popen failed";
  std::string output;
  char chunk[256];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  pclose(pipe);
  return output;
}

TEST(PdbPerlInterop, OpensWhatPalmPdbWrote) {
  if (!PerlHasPalmPdb()) GTEST_SKIP() << "Perl's Palm::PDB is not installed";
  TempDeviceDirectory dir;
  const std::string ids = RunPerl(dir, R"(
use Palm::PDB; use Palm::Raw;
my $pdb = Palm::Raw->new;
$pdb->{name} = "Perl DB"; $pdb->{type} = "DATA"; $pdb->{creator} = "Wqtz"; $pdb->{version} = 3;
$pdb->{appinfo} = "AI\x00\x01";
my $one = $pdb->append_Record; $one->{data} = "one"; $one->{category} = 5; $one->{attributes} = {};
my $two = $pdb->append_Record; $two->{data} = "two\x00bytes"; $two->{category} = 2;
$two->{attributes} = { Secret => 1, Dirty => 1 };
$pdb->Write($ARGV[0]) or die;
print "$one->{id} $two->{id}";
)",
                                  dir.File("from-perl.pdb"));

  Device device(dir.Path());
  const uint8_t handle = device.Open("Perl DB", SYNC_MODE_READ);
  const DeviceDatabase& db = device.At(handle).Database();
  EXPECT_EQ(db.Contents().type, 0x44415441u);
  EXPECT_EQ(db.Contents().version, 3);
  EXPECT_EQ(db.AppInfo(), std::string("AI\0\1", 4));
  ASSERT_EQ(db.RecordCount(), 2u);
  EXPECT_EQ(std::to_string(db.RecordAt(0).unique_id) + " " + std::to_string(db.RecordAt(1).unique_id), ids);
  EXPECT_EQ(db.RecordAt(0), (PdbRecord{0, 5, db.RecordAt(0).unique_id, "one"}));
  EXPECT_EQ(db.RecordAt(1),
            (PdbRecord{kRecordSecret | kRecordDirty, 2, db.RecordAt(1).unique_id, std::string("two\0bytes", 9)}));
}

TEST(PdbPerlInterop, PalmPdbLoadsWhatWeWrote) {
  if (!PerlHasPalmPdb()) GTEST_SKIP() << "Perl's Palm::PDB is not installed";
  TempDeviceDirectory dir;
  {
    Device device(dir.Path());
    const uint8_t handle = device.Create({"Zembra_OrderDB", 0x5771747A, 0x44415441, 256, 0});
    DeviceDatabase& db = device.At(handle).Database();
    db.SetAppInfo(std::string("\0\x7F", 2));
    db.WriteRecord(0, 0, 3, "first");
    db.WriteRecord(0, kRecordDirty | kRecordSecret, 15, std::string("\0\xC0", 2));
    device.Close(handle);
  }
  const std::string printed = RunPerl(dir, R"(
use Palm::PDB; use Palm::Raw;
my $pdb = Palm::PDB->new;
$pdb->Load($ARGV[0]) or die;
print join("|", $pdb->{name}, $pdb->{type}, $pdb->{creator}, $pdb->{version}, unpack("H*", $pdb->{appinfo})), "\n";
for my $r (@{$pdb->{records}}) {
  my @flags = sort grep { $r->{attributes}{$_} } keys %{$r->{attributes}};
  print join(":", $r->{id}, $r->{category}, join(",", @flags), unpack("H*", $r->{data})), "\n";
}
)",
                                      dir.File("Zembra_OrderDB.pdb"));
  EXPECT_EQ(printed,
            "Zembra_OrderDB|DATA|Wqtz|256|007f\n"
            "1:3::6669727374\n"
            "2:15:Dirty,Secret,dirty,private:00c0\n");
}

}  // namespace
