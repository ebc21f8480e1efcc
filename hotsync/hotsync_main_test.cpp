// Runs the built hotsync program on a scratch home, as a user would, without a terminal.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "test_support/built_programs.h"
#include "test_support/scratch_directory.h"

namespace fs = std::filesystem;

namespace {

struct TRun {
  int ExitStatus = -1;
  std::string Out;
  std::string Err;
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class HotSyncProgram : public testing::Test {
 protected:
  // Runs hotsync with the arguments, stdin from /dev/null, in a UTF-8 locale; runs at the same
  // time need captures of their own.
  TRun Run(std::initializer_list<std::string> arguments, const std::string& environment = "",
           const std::string& capture = "") {
    std::string command = "LC_ALL=C.UTF-8 SAMPLE_TRACE=" + Quoted(Trace()) + " " + environment + " " +
                          Quoted(BinDirectory() + "hotsync") + " --home " + Quoted(home_.Path());
    for (const auto& argument : arguments) command += " " + Quoted(argument);
    const std::string out = home_.Path() + capture + ".out";
    const std::string err = home_.Path() + capture + ".err";
    command += " < /dev/null > " + Quoted(out) + " 2> " + Quoted(err);
    const int status = std::system(command.c_str());
    TRun run;
    run.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadWholeFile(out);
    run.Err = ReadWholeFile(err);
    return run;
  }

  std::string Home() const { return home_.Path(); }
  std::string Trace() const { return home_.Path() + "trace.txt"; }
  std::string TraceText() const { return fs::exists(Trace()) ? ReadWholeFile(Trace()) : ""; }
  static std::string SampleConduit() { return BinDirectory() + "libSampleConduit.so"; }

 private:
  TScratchHome home_;
};

TEST_F(HotSyncProgram, HelpAndVersion) {
  const TRun help = Run({"--help"});
  EXPECT_EQ(help.ExitStatus, 0);
  for (const char* word :
       {"info", "register", "unregister", "users", "sync", "configure", "log", "--home", "--conduit"}) {
    EXPECT_NE(help.Out.find(word), std::string::npos) << word;
  }
  const TRun version = Run({"--version"});
  EXPECT_EQ(version.ExitStatus, 0);
  EXPECT_EQ(version.Out, "hotsync 2.6\n");
}

TEST_F(HotSyncProgram, UsersAreKeptInWindows1251AndListedInTheTerminalEncoding) {
  const TRun added = Run({"users", "add", "Иванов И.И."});
  ASSERT_EQ(added.ExitStatus, 0) << added.Err;
  ASSERT_EQ(Run({"users", "add", "Petrov", "--dir", "pet"}).ExitStatus, 0);
  EXPECT_EQ(ReadWholeFile(Home() + "users.ini"),
            "[1]\nName=\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xC8.\nDirectory=Ivanov_I.I.\n[2]\nName=Petrov\nDirectory=pet\n");
  EXPECT_TRUE(fs::is_directory(Home() + "Ivanov_I.I."));
  const TRun list = Run({"users", "list"});
  EXPECT_EQ(list.ExitStatus, 0);
  EXPECT_EQ(list.Out, "Иванов И.И.\tIvanov_I.I.\nPetrov\tpet\n");
}

TEST_F(HotSyncProgram, BadInputIsRefusedClearly) {
  ASSERT_EQ(Run({"users", "add", "Petrov"}).ExitStatus, 0);
  const TRun duplicate = Run({"users", "add", "Petrov", "--dir", "other"});
  EXPECT_NE(duplicate.ExitStatus, 0);
  EXPECT_NE(duplicate.Err.find("already exists"), std::string::npos) << duplicate.Err;
  EXPECT_NE(Run({"users", "add", "Sidorov", "--dir", "../outside"}).ExitStatus, 0);
  EXPECT_FALSE(fs::exists(Home() + "../outside"));
  const TRun unknown = Run({"frobnicate"});
  EXPECT_NE(unknown.ExitStatus, 0);
  EXPECT_NE(unknown.Err.find("frobnicate"), std::string::npos);
  const TRun log = Run({"log", "--user", "Nobody"});
  EXPECT_NE(log.ExitStatus, 0);
  EXPECT_NE(log.Err.find("No such user: Nobody"), std::string::npos) << log.Err;
  EXPECT_NE(Run({"sync"}).ExitStatus, 0);
  EXPECT_NE(Run({"sync", "--user", "Petrov", "--yes", "--no"}).ExitStatus, 0);
  EXPECT_NE(Run({"sync", "--user", "Petrov", "--device", Home() + "no-such-dir"}).ExitStatus, 0);
}

TEST_F(HotSyncProgram, SyncWithoutARegisteredConduitSaysSo) {
  const TRun sync = Run({"sync", "--user", "Petrov"});
  EXPECT_NE(sync.ExitStatus, 0);
  EXPECT_NE(sync.Err.find("no conduit is registered"), std::string::npos) << sync.Err;
}

TEST_F(HotSyncProgram, RegistersRunsConfiguresAndUnregistersAConduit) {
  ASSERT_EQ(Run({"--conduit", SampleConduit(), "info"}).Out,
            "Name: Sample\nVersion: 259 / 1.3\nInformation: (known once the conduit is registered)\n");
  const TRun registered = Run({"--conduit", SampleConduit(), "register"});
  ASSERT_EQ(registered.ExitStatus, 0) << registered.Err;
  EXPECT_EQ(Run({"--conduit", SampleConduit(), "info"}).Out,
            "Name: Sample\nVersion: 259 / 1.3\nInformation: Sample information\n");

  const TRun sync = Run({"sync", "--user", "Иванов", "--yes"});
  ASSERT_EQ(sync.ExitStatus, 0) << sync.Err;
  EXPECT_EQ(sync.Out, "Added user Иванов (directory Ivanov)\nОбмен\n");
  EXPECT_EQ(sync.Err, "Sample: Go on?\n");
  EXPECT_EQ(TraceText(), "open " + Home() + "Ivanov/Samples/|\xC8\xE2\xE0\xED\xEE\xE2|\nanswer 6\n");
  EXPECT_TRUE(fs::is_directory(Home() + "Ivanov/Device"));
  EXPECT_EQ(ReadWholeFile(Home() + "Ivanov/HotSync.log"), "Sample done\n");
  EXPECT_EQ(Run({"log", "--user", "Иванов"}).Out, "Sample done\n");

  fs::remove(Trace());
  ASSERT_EQ(Run({"sync", "--user", "Иванов", "--no"}).ExitStatus, 0);
  ASSERT_EQ(Run({"sync", "--user", "Иванов"}).ExitStatus, 0);
  EXPECT_EQ(TraceText(), "open " + Home() + "Ivanov/Samples/|\xC8\xE2\xE0\xED\xEE\xE2|\nanswer 7\n" + "open " + Home() +
                             "Ivanov/Samples/|\xC8\xE2\xE0\xED\xEE\xE2|\nanswer 7\n");

  fs::remove(Trace());
  ASSERT_EQ(Run({"--conduit", SampleConduit(), "configure", "--user", "Иванов"}).ExitStatus, 0);
  const uint32_t creator = 'S' | 'm' << 8 | 'p' << 16 | static_cast<uint32_t>('l') << 24;
  EXPECT_EQ(TraceText(),
            "configure type 0 size 352 creator " + std::to_string(creator) + " path " + Home() + "Ivanov/Samples/\n");

  ASSERT_EQ(Run({"--conduit", SampleConduit(), "unregister"}).ExitStatus, 0);
  EXPECT_FALSE(fs::exists(Home() + "conduits.ini"));
}

TEST_F(HotSyncProgram, SyncRunsConduitsByPriorityAndReportsAFailingOne) {
  const std::string library = fs::absolute(SampleConduit()).string();
  WriteFileAtomic(Home() + "conduits.ini", "[Aaaa]\nLibrary=" + library +
                                               "\nTitle=Late\nDirectory=Late\nPriority=3\n"
                                               "[Bbbb]\nLibrary=" +
                                               library +
                                               "\nTitle=Failing\nDirectory=Fail\nFile=local.dat\nPriority=0\n");
  const TRun sync = Run({"sync", "--user", "Petrov", "--no"});
  EXPECT_NE(sync.ExitStatus, 0);
  EXPECT_NE(sync.Err.find("conduit Failing (Bbbb) returned 5"), std::string::npos) << sync.Err;
  EXPECT_EQ(TraceText(), "open " + Home() + "Petrov/Fail/|Petrov|local.dat\nanswer 7\n" + "open " + Home() +
                             "Petrov/Late/|Petrov|\nanswer 7\n");
}

TEST_F(HotSyncProgram, ARegisteredDirectoryOutsideTheUsersFolderIsNotRun) {
  WriteFileAtomic(Home() + "conduits.ini",
                  "[Aaaa]\nLibrary=" + fs::absolute(SampleConduit()).string() + "\nDirectory=../../escape\n");
  const TRun sync = Run({"sync", "--user", "Petrov"});
  EXPECT_NE(sync.ExitStatus, 0);
  EXPECT_NE(sync.Err.find("is not a plain folder name"), std::string::npos) << sync.Err;
  EXPECT_EQ(TraceText(), "");
}

TEST_F(HotSyncProgram, TheConduitEndToEnd) {
  const std::string conduit = BinDirectory() + "libZembraToPalm.so";
  if (!fs::exists(conduit)) GTEST_SKIP() << "libZembraToPalm.so is not built";
  const TRun info = Run({"info"});
  ASSERT_EQ(info.ExitStatus, 0) << info.Err;
  EXPECT_NE(info.Out.find("Name: ZembraToPalm\nVersion: 518 / 2.6\n"), std::string::npos) << info.Out;
  ASSERT_EQ(Run({"register"}).ExitStatus, 0);
  EXPECT_NE(Run({"info"}).Out.find("Information: Zem&bra - Palm"), std::string::npos);
  // An empty exchange directory lacks the reference files: the check's error line makes it exit 2.
  const TRun sync = Run({"sync", "--user", "Petrov", "--no"});
  EXPECT_EQ(sync.ExitStatus, 2) << sync.Err;
  EXPECT_NE(sync.Err.find("hotsync: conduit ZembraToPalm (Wqtz) logged 1 error; see the HotSync log"),
            std::string::npos)
      << sync.Err;
  EXPECT_TRUE(fs::exists(Home() + "Petrov/HotSync.log"));
  ASSERT_EQ(Run({"unregister"}).ExitStatus, 0);
  EXPECT_FALSE(fs::exists(Home() + "conduits.ini"));
}

// The exit status tells a sync whose conduit logged an error from a clean one; --help says so.
TEST_F(HotSyncProgram, SyncExitsWith2WhenAConduitLoggedAnErrorLine) {
  const TRun help = Run({"sync", "--help"});
  EXPECT_NE(help.Out.find("Exit status:\n  0  every conduit ran, returned 0 and logged no error line\n"),
            std::string::npos)
      << help.Out;
  EXPECT_NE(help.Out.find("  2  a conduit logged an error line in the HotSync log"), std::string::npos);
  EXPECT_NE(help.Out.find("--lock-wait"), std::string::npos);

  WriteFileAtomic(Home() + "conduits.ini",
                  "[Smpl]\nLibrary=" + fs::absolute(SampleConduit()).string() + "\nTitle=Sample\nDirectory=Errs\n");
  const TRun sync = Run({"sync", "--user", "Petrov", "--no"});
  EXPECT_EQ(sync.ExitStatus, 2);
  EXPECT_EQ(sync.Err, "Sample: Go on?\nhotsync: conduit Sample (Smpl) logged 1 error; see the HotSync log " + Home() +
                          "Petrov/HotSync.log (hotsync log --user Petrov)\n");
  EXPECT_EQ(ReadWholeFile(Home() + "Petrov/HotSync.log"), "Sample - it broke\nSample done\n");
}

TEST_F(HotSyncProgram, ASecondSyncOfTheHandheldWaitsThenNamesTheHolder) {
  ASSERT_EQ(Run({"--conduit", SampleConduit(), "register"}).ExitStatus, 0);
  ASSERT_EQ(Run({"users", "add", "Petrov"}).ExitStatus, 0);
  const std::string lock_file = Home() + "Petrov/Device/.hotsync.lock";
  TRun first;
  std::thread running([&] { first = Run({"sync", "--user", "Petrov", "--no"}, "SAMPLE_PAUSE_MS=3000", "first"); });
  std::string holder;
  for (int tries = 0; tries < 200 && holder.empty(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (fs::exists(lock_file)) holder = ReadWholeFile(lock_file);
  }
  ASSERT_FALSE(holder.empty());
  holder.pop_back();
  const TRun second = Run({"sync", "--user", "Petrov", "--no"}, "HOTSYNC_LOCK_WAIT=0.3", "second");
  const TRun third = Run({"sync", "--user", "Petrov", "--no", "--lock-wait", "0"}, "", "third");
  running.join();
  EXPECT_EQ(first.ExitStatus, 0) << first.Err;
  EXPECT_EQ(second.ExitStatus, 3);
  EXPECT_EQ(second.Err, "hotsync: " + Home() + "Petrov/Device is in use by another synchronisation (" + holder +
                            "); gave up after 0.3 s\n");
  EXPECT_EQ(third.ExitStatus, 3);
  EXPECT_NE(third.Err.find("gave up after 0 s"), std::string::npos) << third.Err;
  EXPECT_EQ(TraceText(), "open " + Home() + "Petrov/Samples/|Petrov|\nanswer 7\n");
  const TRun after = Run({"sync", "--user", "Petrov", "--no", "--lock-wait", "0"});
  EXPECT_EQ(after.ExitStatus, 0) << after.Err;
}

TEST_F(HotSyncProgram, SyncClearsStaleTemporariesAndRefusesALogThatIsNoFile) {
  ASSERT_EQ(Run({"--conduit", SampleConduit(), "register"}).ExitStatus, 0);
  ASSERT_EQ(Run({"users", "add", "Petrov"}).ExitStatus, 0);
  fs::create_directories(Home() + "Petrov/Device");
  fs::create_directories(Home() + "Petrov/Samples");
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  const std::string dead = std::to_string(child);
  const std::string device_temporary = Home() + "Petrov/Device/Zembra_OrderDB.pdb.tmp-" + dead;
  const std::string exchange_temporary = Home() + "Petrov/Samples/Order.txt.tmp-" + dead;
  WriteFileAtomic(device_temporary, "half");
  WriteFileAtomic(exchange_temporary, "half");
  WriteFileAtomic(Home() + "Petrov/Samples/Order.txt.tmp-1", "init is alive");

  const TRun sync = Run({"sync", "--user", "Petrov", "--no"});
  EXPECT_EQ(sync.ExitStatus, 0) << sync.Err;
  EXPECT_EQ(sync.Err, "hotsync: removed the stale temporary file " + device_temporary +
                          "\nhotsync: removed the stale temporary file " + exchange_temporary + "\nSample: Go on?\n");
  EXPECT_FALSE(fs::exists(device_temporary));
  EXPECT_FALSE(fs::exists(exchange_temporary));
  EXPECT_TRUE(fs::exists(Home() + "Petrov/Samples/Order.txt.tmp-1"));

  fs::remove(Home() + "Petrov/HotSync.log");
  ASSERT_EQ(::mkfifo((Home() + "Petrov/HotSync.log").c_str(), 0600), 0);
  const TRun fifo = Run({"sync", "--user", "Petrov", "--no"});
  EXPECT_EQ(fifo.ExitStatus, 1);
  EXPECT_EQ(fifo.Err, "hotsync: Cannot open \"" + Home() + "Petrov/HotSync.log\": not a regular file (a FIFO)\n");
  const TRun log = Run({"log", "--user", "Petrov"});
  EXPECT_EQ(log.ExitStatus, 1);
  EXPECT_EQ(log.Err, "hotsync: Cannot open \"" + Home() + "Petrov/HotSync.log\": not a regular file (a FIFO)\n");
}

}  // namespace
