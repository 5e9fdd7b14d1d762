// ImageConverter: the engine of a batch run. Each item goes through three stages:
//   decide (this thread, list order): the destination folder (created level by level),
//     the destination path, the no-overwrite rule and the collisions inside the run;
//   work (a worker process): load the page, apply the settings' steps, encode into a
//     hidden temporary file beside the destination that this thread created;
//   publish (this thread, list order): rename the file into place, set the item's status,
//     log text and sizes, count it and report it.
// A run with one worker is the same pipeline. The hooks are called on this thread, item
// after item in list order, exactly as a one-at-a-time run would call them: for each item
// OnItemStart without a path, OnItemStart with its destination (once it has one),
// OnProgress 30, 70 and 90 as far as the item got, then OnItemDone. The hooks of an item
// start when it is the oldest unfinished item, so a window shows the item the run waits
// for.
//
// A worker that crashes, is killed or runs past the item's time limit (ItemTimeLimit.h)
// fails only its item, with a reason, and is replaced for the next one. A page of a file
// goes to the worker that had the file's previous page, so a document is read once.
// `stop` (or a deferred signal, see DeferSignals) ends the run as a one-at-a-time run
// would end: the item whose hooks have started is finished and reported; every later item
// stays NotStarted, its work in a worker stopped or discarded.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "job/ConversionItem.h"
#include "platform/Result.h"
#include "settings/ConversionSettings.h"

class ConversionPipeline;

class ImageConverter {
 public:
  ImageConverter() = default;
  ImageConverter(const ImageConverter&) = delete;
  ImageConverter& operator=(const ImageConverter&) = delete;
  virtual ~ImageConverter() = default;

  std::atomic<bool> stop{false};  // set from outside; no item is decided after it
  // Set from outside to give the run up at once, as a preview does when it is superseded:
  // the workers are killed within a wait tick, the items they or the queue had fail, and
  // no item is decided after it.
  std::atomic<bool> abandon{false};
  // Counters since the converter was built; not reset between runs.
  int total = 0;      // items in the current run
  int processed = 0;  // items started
  int succeeded = 0;
  int failed = 0;

  // Converts the items with settings that passed ValidateSettings; returns 0. The
  // settings also give the workers (`threads`, see WorkerCount.h) and the base of the
  // per-item time limit (`timeoutSeconds`).
  HRESULT Run(const std::vector<ConversionItem*>& items, const ConversionSettings& settings);

  // Creates the folder and every missing folder above it, one level at a time. True
  // when the whole path exists afterwards; an empty path fails.
  static bool CreateFolderPath(const std::string& folder);

 protected:
  // destPath is empty for the call before the item's destination is known.
  virtual void OnItemStart(ConversionItem& item, const std::string& destPath);
  virtual void OnItemDone(ConversionItem& item);
  // percent: 30 after the load, 70 before the save, 90 after it.
  virtual void OnProgress(ConversionItem& item, int percent);

 private:
  friend class ConversionPipeline;
};
