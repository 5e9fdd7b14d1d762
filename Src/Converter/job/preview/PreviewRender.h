// PreviewRender: the preview of one page, made by the run's own pipeline. The page is
// converted with the settings exactly as a run converts it (an ImageConverter with one
// worker process: load, every step, the encoder at its quality), into a private folder
// instead of the destination, so the file's dimensions and its size in bytes are those a
// run writes. Display copies are PNG files made the same way (MaxSize into a box, never
// enlarged, upright as a viewer shows a picture): one of the written file, one of the
// source. So the process that asks for a preview never decodes a source's bytes; it reads
// only the PNG files made here.
//
// One renderer serves one thread at a time; Abandon may be called from any thread to give
// up the conversion in progress (its worker is killed at once).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "job/ConversionItem.h"
#include "settings/ConversionSettings.h"

struct PreviewBox {
  int width = 0;
  int height = 0;
  bool operator==(const PreviewBox&) const = default;
};

struct PreviewResult {
  bool converted = false;
  // Why there is no result: the refusal of the settings or the page's log text.
  std::string reason;
  std::string file;  // the written file, in the renderer's folder
  int width = -1, height = -1, bitDepth = -1;
  std::uint64_t bytes = 0;
  int sourceWidth = -1, sourceHeight = -1;  // as loaded
};

class PreviewRenderer {
 public:
  // Makes a private folder (mode 0700) under $TMPDIR (else /tmp).
  PreviewRenderer();
  ~PreviewRenderer();
  PreviewRenderer(const PreviewRenderer&) = delete;
  PreviewRenderer& operator=(const PreviewRenderer&) = delete;

  // False when the folder could not be made; every render then fails.
  bool Ready() const { return !folder_.empty(); }
  const std::string& Folder() const { return folder_; }

  // Converts `page` with `settings` (validated here, the destination folder aside, which a
  // preview does not need) as a run would; the previous result file is replaced.
  PreviewResult RenderResult(const ConversionItem& page, const ConversionSettings& settings);
  // A 32-bit PNG of the written file fitted into `box`; empty when it cannot be made.
  std::string DisplayOfResult(const PreviewResult& result, PreviewBox box);
  // A 32-bit PNG of the source page fitted into `box`; the last one is kept and given
  // again while the page's file, its size and time, and the box stay the same.
  std::string DisplayOfSource(const ConversionItem& page, PreviewBox box);

  // Gives up the conversion in progress, if any; later ones run as usual.
  void Abandon();

 private:
  // Runs one item through the pipeline; false when the run was abandoned.
  bool Convert(ConversionItem& item, const ConversionSettings& settings);
  std::string Display(ConversionItem& item, PreviewBox box, const std::string& subfolder);

  std::string folder_;
  std::mutex mutex_;
  class PreviewConverter* running_ = nullptr;  // guarded by mutex_

  std::string sourceKey_;  // the page and box of sourceDisplay_
  std::string sourceDisplay_;
};

// What tells one page's picture from another: its file, page, size and time.
std::string PreviewPageKey(const ConversionItem& page);

// A private copy of the item fields a conversion reads (source, page, name), with no
// results.
void CopyPageIdentity(const ConversionItem& from, ConversionItem& to);
