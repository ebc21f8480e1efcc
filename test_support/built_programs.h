// Where tests find what the build made beside them: the programs and the desktop stand-in
// libraries in <build>/bin, named by $ZP_BIN_DIR.
#pragma once

#include <initializer_list>
#include <string>

// The six desktop stand-in libraries.
inline constexpr std::initializer_list<const char*> kDesktopStandIns = {
    "libuserdata.so", "libsync20.so", "libcondmgr.so", "libhslog20.so", "libinstaide.so", "libhsapi.so"};

// $ZP_BIN_DIR ending with '/'; empty when it is not set.
std::string BinDirectory();
// The first of the files missing from BinDirectory() (all of them when it is not set), or
// empty when every one is there: a test skips with it.
std::string MissingFromBin(std::initializer_list<const char*> files);
// True when all six stand-in libraries are in BinDirectory().
inline bool StandInsBuilt() { return MissingFromBin(kDesktopStandIns).empty(); }
