#include "cmdline/RunCommandLine.h"

#include <cstdio>
#include <string>

#include "cmdline/CommandLineParser.h"
#include "cmdline/ReportLines.h"
#include "cmdline/SourceList.h"
#include "job/FileCollector.h"
#include "job/ImageConverter.h"
#include "platform/TempFileCleanup.h"
#include "settings/PresetFile.h"
#include "strings/EscapedText.h"

namespace {

constexpr const char* kClimbsOut =
    "a listed path with \"..\" has no place below the destination with -samedir";

// Writes one complete line and flushes it, so a launcher relays it at once.
void WriteLine(const std::string& text, std::FILE* stream = stdout) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// The converter of a command-line run: one report line per item, as soon as it is done.
class CommandLineConverter : public ImageConverter {
 protected:
  void OnItemDone(ConversionItem& item) override {
    if (item.status == ItemStatus::Succeeded)
      WriteLine(SuccessLine(item.sourcePath, item.destPath));
    else
      WriteLine(FailureLine(item.sourcePath, item.destPath, item.log));
  }
};

// The collector of a command-line run. What should give pages and cannot is an ERROR line
// of the report and counts as a failure; entries that are no files at all are told on
// standard error, so standard output and the summary stay as scripts read them.
class CommandLineCollector : public ListCollector {
 public:
  using ListCollector::ListCollector;
  int failures = 0;

  void Fail(const std::string& path, const std::string& reason) {
    ++failures;
    WriteLine(FailureLine(path, "", reason));
  }
  void OnUnreadable(const std::string& path, const std::string& reason) override {
    Fail(path, reason);
  }
  void OnSkipped(const std::string& path, const std::string& reason) override {
    WriteLine(WarningLine(path, reason), stderr);
  }
};

// Collects the run's sources: the one "-source", or every entry of "-sourcelist" in list
// order, whose paths are then kept as written below the destination. False with `why`
// when the list cannot be read.
bool CollectSources(const ConversionSettings& settings, CommandLineCollector& collector,
                    std::string& why) {
  collector.recursive = settings.recursive;
  collector.destinationFolder = settings.destFolder;
  if (settings.sourceList.empty()) {
    collector.sources = {settings.source};
    collector.Collect();
    return true;
  }
  std::vector<std::string> entries;
  if (!ReadSourceList(settings.sourceList, entries, why)) {
    why = "Cannot read the source list " + settings.sourceList + ": " + why;
    return false;
  }
  collector.keepWrittenPaths = true;
  for (const std::string& entry : entries) {
    if (settings.sameDir && ClimbsOut(entry)) {
      collector.Fail(entry, kClimbsOut);
      continue;
    }
    collector.sources = {entry};
    collector.Collect();
  }
  return true;
}

// Writes the options of the line as a preset instead of converting: one line says where.
HRESULT SavePreset(const ConversionSettings& settings) {
  std::string message;
  const HRESULT written = WritePresetFile(settings.savePreset, settings, message);
  if (Failed(written)) {
    WriteLine("ERROR: " + EscapeControlCharacters(message));
    return written;
  }
  WriteLine("Preset written to " + EscapeControlCharacters(settings.savePreset));
  return S_OK;
}

}  // namespace

HRESULT RunCommandLine(const std::vector<std::string>& tokens) {
  ConversionSettings settings;
  settings.Reset();
  std::string message;
  const HRESULT parsed = ParseCommandLine(tokens, settings, message);
  if (Failed(parsed)) {
    WriteLine("ERROR: " + EscapeControlCharacters(message));  // it may quote a token
    return parsed;
  }
  if (!settings.savePreset.empty()) return SavePreset(settings);

  ItemList items;
  CommandLineCollector collector(items);
  if (!CollectSources(settings, collector, message)) {
    WriteLine("ERROR: " + EscapeControlCharacters(message));
    return E_INVALIDARG;
  }

  CommandLineConverter converter;
  DeferSignals();  // Ctrl-C lets the items in flight finish
  converter.Run(SnapshotOf(items), settings);

  int succeeded = 0, failed = collector.failures;
  for (const auto& item : items) {
    if (item->status == ItemStatus::Succeeded) ++succeeded;
    if (item->status == ItemStatus::Failed) ++failed;
  }
  WriteLine(SummaryLine(succeeded, failed));
  return failed != 0 ? E_FAIL : S_OK;
}
