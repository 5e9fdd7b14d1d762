// The windowed branch of the start-up: runs the application's event loop and returns the
// process's exit code. Without a display it says so on standard error and returns 1.
#pragma once

int RunWindowedProgram(int argc, char** argv);
