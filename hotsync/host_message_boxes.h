// How the host answers the conduit's message boxes: --yes / --no answer every question box,
// otherwise an interactive terminal asks on /dev/tty and a non-interactive run takes the default.
#pragma once

#include <cstdint>
#include <optional>

enum class TBoxAnswering { AlwaysYes, AlwaysNo, AskPerson };

struct THostBoxes {
  TBoxAnswering Answering = TBoxAnswering::AskPerson;
  bool Interactive = false;  // stdin is a terminal and /dev/tty can be opened
};

// The answer given without asking anyone, or none when the person at the terminal must be asked.
// Question boxes (Yes/No, OK/Cancel) follow --yes/--no, else the terminal, else their default
// (No, Cancel); OK boxes wait for Enter only on an interactive run without --yes/--no.
std::optional<int32_t> AnswerWithoutAsking(uint32_t style, const THostBoxes& boxes);

// True when stdin is a terminal and the controlling terminal can be opened.
bool RunsInteractively();

// Installs the host's handler in libhsapi.so: caption and text on stderr, answer as above.
// boxes must outlive every message box shown.
void InstallHostMessageBoxes(const THostBoxes& boxes);
