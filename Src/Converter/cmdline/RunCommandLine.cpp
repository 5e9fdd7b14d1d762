#include "cmdline/RunCommandLine.h"

#include <cstdio>
#include <string>

#include "cmdline/CommandLineParser.h"
#include "job/FileCollector.h"
#include "job/ImageConverter.h"
#include "platform/TempFileCleanup.h"

namespace {

// Writes one complete line and flushes it, so a launcher relays it at once.
void WriteLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// The converter of a command-line run: one report line per item, as soon as it is done.
class CommandLineConverter : public ImageConverter {
 protected:
  void OnItemDone(ConversionItem& item) override {
    if (item.status == ItemStatus::Succeeded) {
      WriteLine("SUCCESS: converted file " + item.sourcePath + " to " + item.destPath);
    } else {
      WriteLine("ERROR: failed to convert file " + item.sourcePath + " to " + item.destPath +
                " Reason: " + item.log);
    }
  }
};

// The collector of a command-line run: what it leaves out is told on standard error, one
// line each, so standard output and the summary stay as scripts read them.
class CommandLineCollector : public ListCollector {
 public:
  using ListCollector::ListCollector;
  void OnSkipped(const std::string& path, const std::string& reason) override {
    std::fprintf(stderr, "WARNING: skipped %s: %s\n", path.c_str(), reason.c_str());
    std::fflush(stderr);
  }
};

}  // namespace

HRESULT RunCommandLine(const std::vector<std::string>& tokens) {
  ConversionSettings settings;
  settings.Reset();
  std::string message;
  const HRESULT parsed = ParseCommandLine(tokens, settings, message);
  if (Failed(parsed)) {
    WriteLine("ERROR: " + message);
    return parsed;
  }

  ItemList items;
  CommandLineCollector collector(items);
  collector.sources = {settings.source};
  collector.recursive = settings.recursive;
  collector.destinationFolder = settings.destFolder;
  collector.Collect();

  CommandLineConverter converter;
  DeferSignals();  // Ctrl-C lets the items in flight finish
  converter.Run(SnapshotOf(items), settings);

  int succeeded = 0, failed = 0;
  for (const auto& item : items) {
    if (item->status == ItemStatus::Succeeded) ++succeeded;
    if (item->status == ItemStatus::Failed) ++failed;
  }
  WriteLine(std::to_string(succeeded) + " images were successfully converted. " +
            std::to_string(failed) + " images failed.");
  return failed != 0 ? E_FAIL : S_OK;
}
