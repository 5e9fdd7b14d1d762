// The lines of a command-line report, each without its line end. Names and reasons are
// written with their control characters escaped (EscapeControlCharacters), so a file name
// can neither split a line nor forge one; other names print as they are.
#pragma once

#include <string>

// "SUCCESS: converted file <source> to <destination>"
std::string SuccessLine(const std::string& source, const std::string& destination);
// "ERROR: failed to convert file <source> to <destination> Reason: <reason>"; the
// destination is empty for what failed before a destination was made.
std::string FailureLine(const std::string& source, const std::string& destination,
                        const std::string& reason);
// "WARNING: skipped <path>: <reason>", for standard error.
std::string WarningLine(const std::string& path, const std::string& reason);
// "<n> images were successfully converted. <m> images failed."
std::string SummaryLine(int succeeded, int failed);
