// The command-line report as the end-to-end tests expect it: the real Brindlemark.exe run
// in a folder, the report between its banner and its last empty line, and the exact texts
// of its lines.
#pragma once

#include <string>
#include <vector>

#include "support/TestFiles.h"

// Runs Brindlemark.exe through sh in `folder` (so relative paths and redirections work),
// ended after a minute.
RunResult RunIn(const std::string& folder, const std::string& arguments);
// The report between the banner and the final empty line, or a text saying what is wrong.
std::string Report(const RunResult& r);

std::string Success(const std::string& from, const std::string& to);
std::string Failure(const std::string& from, const std::string& to, const std::string& reason);
std::string Skipped(const std::string& from, const std::string& to);
// The summary line, and the skipped line after it when `skipped` is not 0.
std::string Summary(int ok, int bad, int skipped = 0);

// Every file below `root`, relative, sorted.
std::vector<std::string> FilesBelow(const std::string& root);
