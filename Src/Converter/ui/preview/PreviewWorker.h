// PreviewWorker: the preview's thread. It takes the newest request (a page, the settings as
// the pages show them, the size of the panes), renders it through a PreviewRenderer (the
// run's pipeline, in worker processes) and delivers, in this order, the result's numbers,
// the picture of the result and the picture of the source. A newer request gives up the
// one in progress at once (its worker process is killed) and is taken next; so is a
// cancel. Pictures cross to the window's thread as plain pixel data: the PNG display
// copies, our own files, are decoded on this thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "job/preview/PreviewRender.h"

struct PreviewRequest {
  std::uint64_t generation = 0;
  std::shared_ptr<const ConversionItem> page;
  ConversionSettings settings;
  std::string settingsText;  // the settings as stored: equal texts give equal results
  PreviewBox box;
};

// Pixels of a display copy: RGB rows top-down, and alpha when it has any.
struct PreviewPicture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb, alpha;
  bool Empty() const { return width == 0; }
};

struct PreviewUpdate {
  enum class Stage { Result, ResultPicture, SourcePicture };
  std::uint64_t generation = 0;
  Stage stage = Stage::Result;
  PreviewResult result;    // Stage::Result
  PreviewPicture picture;  // the picture stages; empty when it could not be made
};

class PreviewWorker {
 public:
  // `deliver` is called on the worker's thread, once per stage of each request it
  // finishes; the last stage of a request is SourcePicture.
  explicit PreviewWorker(std::function<void(PreviewUpdate)> deliver);
  ~PreviewWorker();
  PreviewWorker(const PreviewWorker&) = delete;
  PreviewWorker& operator=(const PreviewWorker&) = delete;

  // Replaces any waiting request; the one in progress is given up.
  void Submit(PreviewRequest request);
  // Drops the waiting request and gives up the one in progress.
  void Cancel();

 private:
  void Loop();
  void Render(const PreviewRequest& request, std::uint64_t epoch);
  // Whether a submit, a cancel or the end came after the request of `epoch` was taken.
  bool Superseded(std::uint64_t epoch);

  std::function<void(PreviewUpdate)> deliver_;
  PreviewRenderer renderer_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<PreviewRequest> waiting_;  // guarded by mutex_
  bool quit_ = false;                      // guarded by mutex_
  std::uint64_t epoch_ = 0;                // guarded by mutex_: submits and cancels so far
  // The last result rendered, reused while only the box changes (worker thread only).
  std::string lastKey_;
  PreviewResult lastResult_;
  std::thread thread_;
};

// Reads a PNG display copy into plain pixels; empty when it cannot be read.
PreviewPicture ReadPreviewPicture(const std::string& pngPath);
