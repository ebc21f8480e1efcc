// Where the host finds its desktop libraries and the default conduit: the directory the loader
// took libuserdata.so from (beside the program in the build tree, lib/zembratopalm when installed).
#pragma once

#include <string>

// The directory of the loaded desktop libraries, without a trailing '/'.
std::string DesktopLibraryDirectory();

// libZembraToPalm.so beside the program when it is there, else beside the desktop libraries.
std::string DefaultConduitPath();

// Points the conduit at the host's own desktop libraries: HOTSYNC_PATH names a program in their
// directory, as the registry value names the HotSync Manager's executable.
void PublishDesktopLibraryDirectory();
