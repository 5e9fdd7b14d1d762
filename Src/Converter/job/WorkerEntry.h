// The start of every program that hosts the engine (the windowed program, the command-line
// build, the test programs): its main calls BecomeWorkerIfAsked first. A run starts its
// workers as copies of the same executable with the hidden first argument kWorkerArgument
// and the worker's memory cap in bytes; such a process never returns from the call. It
// caps its memory, leaves stop signals to its parent (and dies with it), starts FreeImage,
// reads the run's settings and then serves WorkOrders from its request pipe, one at a
// time, until the pipe closes.
//
// For tests only: when the environment holds BRINDLEMARK_TEST_FAULTS=1, a source whose
// file name contains "spin-forever" makes the worker loop without end, "crash-now" makes
// it die by SIGSEGV and "abort-now" by SIGABRT, each before it loads the page.
#pragma once

#include <string_view>

constexpr std::string_view kWorkerArgument = "--brindlemark-worker";
// The exit code of a worker whose memory ran out where C++ code asked for it.
constexpr int kWorkerOutOfMemoryExit = 3;

// Returns at once unless argv[1] is kWorkerArgument; otherwise serves and exits.
void BecomeWorkerIfAsked(int argc, char** argv);
