// The hotsync program: the command-line host that loads a conduit and calls its entry points as
// the HotSync Manager would, over the HotSync home and a directory that stands for the handheld.
#include <stdlib.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "hotsync/desktop_location.h"
#include "hotsync/host_commands.h"
#include "hotsync/host_heap.h"
#include "hotsync/hotsync_home.h"
#include "hotsync/odbc_registration.h"

namespace {

constexpr char kSyncExitStatuses[] =
    "Exit status:\n"
    "  0  every conduit ran, returned 0 and logged no error line\n"
    "  1  the sync could not run, or a conduit could not be loaded or returned non-zero\n"
    "  2  a conduit logged an error line in the HotSync log (stderr names the conduit and the log)\n"
    "  3  another sync held the handheld or an exchange directory for the whole wait";

// Seconds from $HOTSYNC_LOCK_WAIT when it holds a number from 0 to a day, else 10.
double DefaultLockWaitSeconds() {
  const char* text = std::getenv("HOTSYNC_LOCK_WAIT");
  if (text == nullptr || *text == '\0') return 10;
  char* end = nullptr;
  const double seconds = std::strtod(text, &end);
  return *end == '\0' && seconds >= 0 && seconds <= 86400 ? seconds : 10;
}

std::optional<std::string> Given(const CLI::Option* option, const std::string& value) {
  return option->count() > 0 ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  SetUpHostHeap();
  CLI::App app{"hotsync: runs HotSync conduits over a HotSync home and a directory of handheld databases"};
  app.set_version_flag("--version", std::string("hotsync ") + ZP_VERSION);
  app.require_subcommand(1);
  app.fallthrough();
  app.footer("Exit status: 0 on success, 1 on failure; \"hotsync sync --help\" lists the statuses of a sync.");

  std::string home;
  std::string conduit;
  const CLI::Option* home_option =
      app.add_option("--home", home, "The HotSync home (default: $HOTSYNC_HOME, else ~/.local/share/hotsync)");
  const CLI::Option* conduit_option =
      app.add_option("--conduit", conduit, "The conduit library (default: libZembraToPalm.so beside the program)");

  CLI::App* info = app.add_subcommand("info", "Show the conduit's name, version and information text");
  CLI::App* register_command = app.add_subcommand("register", "Register the conduit (DllRegisterServer)");
  CLI::App* unregister_command = app.add_subcommand("unregister", "Unregister the conduit (DllUnregisterServer)");

  CLI::App* users = app.add_subcommand("users", "Add or list HotSync users");
  users->require_subcommand(1);
  CLI::App* users_add = users->add_subcommand("add", "Add a HotSync user");
  std::string new_user;
  std::string new_user_directory;
  users_add->add_option("NAME", new_user, "The user name, as the handheld holds it")->required();
  const CLI::Option* directory_option =
      users_add->add_option("--dir", new_user_directory, "The user's folder name (default: NAME made safe)");
  CLI::App* users_list = users->add_subcommand("list", "List the HotSync users: name, a tab, folder name");

  CLI::App* sync = app.add_subcommand("sync", "Synchronise a user: run every registered conduit");
  std::string sync_user;
  std::string device;
  sync->add_option("--user", sync_user, "The HotSync user (added when not known yet)")->required();
  const CLI::Option* device_option =
      sync->add_option("--device", device, "The handheld's directory (default: the user's Device folder)")
          ->check(CLI::ExistingDirectory);
  bool answer_yes = false;
  bool answer_no = false;
  CLI::Option* yes = sync->add_flag("--yes", answer_yes, "Answer Yes to every question");
  CLI::Option* no = sync->add_flag("--no", answer_no, "Answer No to every question");
  yes->excludes(no);
  double lock_wait_seconds = DefaultLockWaitSeconds();
  sync->add_option("--lock-wait", lock_wait_seconds,
                   "Seconds to wait while another sync holds the handheld or an exchange directory "
                   "(default: $HOTSYNC_LOCK_WAIT, else 10)")
      ->check(CLI::Range(0.0, 86400.0))
      ->type_name("SECONDS");
  sync->footer(kSyncExitStatuses);

  CLI::App* configure = app.add_subcommand("configure", "Open the conduit's settings (CfgConduit)");
  std::string configure_user;
  const CLI::Option* configure_user_option =
      configure->add_option("--user", configure_user, "The user whose exchange directory the settings are for");

  CLI::App* log = app.add_subcommand("log", "Show a user's HotSync log");
  std::string log_user;
  log->add_option("--user", log_user, "The HotSync user")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() != 0 && !app.remaining().empty()) {
      std::cerr << "hotsync: unknown command or argument: " << app.remaining().front() << "\n"
                << "Run with --help for more information." << std::endl;
      return static_cast<int>(CLI::ExitCodes::ExtrasError);
    }
    return app.exit(error);
  }

  try {
    THostContext context;
    context.Home = ResolveHotSyncHome(Given(home_option, home));
    setenv("HOTSYNC_HOME", context.Home.c_str(), 1);
    PublishDesktopLibraryDirectory();
    PointOdbcAtBuildRegistration(DesktopLibraryDirectory());
    context.ConduitPath = conduit_option->count() > 0 ? conduit : DefaultConduitPath();
    context.Boxes.Interactive = RunsInteractively();
    if (answer_yes) context.Boxes.Answering = TBoxAnswering::AlwaysYes;
    if (answer_no) context.Boxes.Answering = TBoxAnswering::AlwaysNo;
    InstallHostMessageBoxes(context.Boxes);

    if (info->parsed()) return RunInfo(context);
    if (register_command->parsed()) return RunRegister(context);
    if (unregister_command->parsed()) return RunUnregister(context);
    if (users_add->parsed()) return RunUsersAdd(context, new_user, Given(directory_option, new_user_directory));
    if (users_list->parsed()) return RunUsersList(context);
    if (sync->parsed()) {
      const auto wait = std::chrono::milliseconds(static_cast<int64_t>(lock_wait_seconds * 1000));
      return RunSync(context, TSyncRequest{sync_user, Given(device_option, device), wait});
    }
    if (configure->parsed()) return RunConfigure(context, Given(configure_user_option, configure_user));
    if (log->parsed()) return RunLog(context, log_user);
  } catch (const std::exception& error) {
    std::cerr << "hotsync: " << error.what() << std::endl;
    return 1;
  }
  return 1;
}
