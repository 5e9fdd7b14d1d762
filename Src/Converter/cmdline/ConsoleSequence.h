// The command-line branch of the start-up: bind the standard streams to the launcher's
// rendezvous (or keep the ones the process has), print the banner, run, exit. Nothing
// here touches a GUI toolkit, so it runs before any of it starts and without a display.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when all three standard streams ended up bound, to the rendezvous or to the
// streams the process already had.
bool ConnectConsolePipes();

// Whether the process runs in command-line mode (set by RunConsoleSequence).
bool CommandLineMode();

// Runs the console sequence on the command-line tokens and ends the process with exit
// code 1 when the run's result is negative, else 0. A "--help" or "--version" token prints
// the usage or the versions (`toolkitVersion` names the window toolkit) and exits with 0.
// Never returns.
[[noreturn]] void RunConsoleSequence(const std::vector<std::string>& tokens,
                                     std::string_view toolkitVersion = {});
