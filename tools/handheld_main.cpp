// handheld: list, dump and load the databases of a handheld directory (.pdb files) through the
// catalogue's field layouts, using the desktop libraries installed beside the program.
#include <dlfcn.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "api/sync_manager.h"
#include "core/cp1251.h"
#include "core/regional_formats.h"
#include "tools/device_connection.h"
#include "tools/handheld_commands.h"

namespace {

// The directory the loader took libsync20.so from: beside the program in the build tree,
// lib/zembratopalm once installed.
std::string LoadedSyncLibraryDirectory() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&SyncHostConnect), &info) == 0 || info.dli_fname == nullptr) {
    throw Exception("Cannot find where libsync20.so was loaded from");
  }
  return std::filesystem::path(info.dli_fname).parent_path().string();
}

const char* kDescription =
    "Lists, dumps and loads the handheld databases in a directory of .pdb files (the handheld of\n"
    "the desktop stand-in), through the field layouts of the sales application's 23 databases.\n"
    "Semicolon files are Windows-1251 text: a header line of field names, then one line per record\n"
    "with each value followed by ';'. Values use a full stop for decimals and dd.mm.yyyy for dates.";

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{kDescription, "handheld"};
  app.require_subcommand(1);
  std::string directory, database, file;

  CLI::App* list = app.add_subcommand("list", "List the databases in DIR: name, type, creator, version, records");
  list->add_option("DIR", directory, "Handheld directory of .pdb files")->required()->check(CLI::ExistingDirectory);

  CLI::App* dump =
      app.add_subcommand("dump",
                         "Write the records of database DB to standard output as semicolon lines, field names first "
                         "(in the terminal's encoding on a terminal, Windows-1251 with CR LF otherwise)");
  dump->add_option("DIR", directory, "Handheld directory of .pdb files")->required()->check(CLI::ExistingDirectory);
  dump->add_option("DB", database, "Database name, e.g. Zembra_OrderDB")->required();

  CLI::App* load = app.add_subcommand(
      "load",
      "Replace the records of database DB (created when missing) by the rows of semicolon file FILE; "
      "header names match the fields without regard to case, a field without a column stays empty; "
      "a row that does not convert, holds a NUL byte or makes a record over 65535 bytes leaves the "
      "database as it was");
  load->add_option("DIR", directory, "Handheld directory of .pdb files")->required()->check(CLI::ExistingDirectory);
  load->add_option("DB", database, "Database name, e.g. Zembra_OrderItemDB")->required();
  load->add_option("FILE", file, "Semicolon file (Windows-1251)")->required()->check(CLI::ExistingFile);

  CLI11_PARSE(app, argc, argv);

  try {
    SetCurrentFormats(TFormatSettings{});
    TDeviceConnection connection(LoadedSyncLibraryDirectory(), directory);
    TPalmCatalogue catalogue;
    if (list->parsed()) return ListDatabases(directory, std::cout) == 0 ? 0 : 1;
    if (dump->parsed()) {
      const bool terminal = isatty(STDOUT_FILENO) != 0;
      DumpDatabase(catalogue, TerminalToCp1251(database), std::cout, terminal ? "\n" : "\r\n",
                   terminal ? &Cp1251ToTerminal : nullptr);
      std::cout.flush();
      return std::cout ? 0 : 1;
    }
    try {
      const size_t loaded = LoadDatabase(catalogue, TerminalToCp1251(database), file);
      std::cerr << loaded << " records loaded into " << database << '\n';
      return 0;
    } catch (const std::exception&) {
      connection.Discard();
      throw;
    }
  } catch (const std::exception& error) {
    std::cerr << "handheld: " << Cp1251ToTerminal(error.what()) << '\n';
    return 1;
  }
}
