#include "cmdline/ReportLines.h"

#include "strings/EscapedText.h"

std::string SuccessLine(const std::string& source, const std::string& destination) {
  return "SUCCESS: converted file " + EscapeControlCharacters(source) + " to " +
         EscapeControlCharacters(destination);
}

std::string FailureLine(const std::string& source, const std::string& destination,
                        const std::string& reason) {
  return "ERROR: failed to convert file " + EscapeControlCharacters(source) + " to " +
         EscapeControlCharacters(destination) + " Reason: " + EscapeControlCharacters(reason);
}

std::string WarningLine(const std::string& path, const std::string& reason) {
  return "WARNING: skipped " + EscapeControlCharacters(path) + ": " +
         EscapeControlCharacters(reason);
}

std::string SummaryLine(int succeeded, int failed) {
  return std::to_string(succeeded) + " images were successfully converted. " +
         std::to_string(failed) + " images failed.";
}
