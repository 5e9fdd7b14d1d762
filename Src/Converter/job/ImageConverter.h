// ImageConverter: the engine of a batch run. It converts a list of items one after
// another (destination folder, destination path, the no-overwrite rule, load, the
// settings' steps, save) and records on each item its status, log text and sizes.
// Progress and completion go through the overridable hooks, so the same engine serves
// the windowed run and the command-line report.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "image/ImageBuffer.h"
#include "job/ConversionItem.h"
#include "job/RunCollisions.h"
#include "platform/Result.h"
#include "settings/ConversionSettings.h"

class ImageConverter {
 public:
  ImageConverter() = default;
  ImageConverter(const ImageConverter&) = delete;
  ImageConverter& operator=(const ImageConverter&) = delete;
  virtual ~ImageConverter() = default;

  std::atomic<bool> stop{false};  // set from outside; the run ends before the next item
  // Counters since the converter was built; not reset between runs.
  int total = 0;      // items in the current run
  int processed = 0;  // items started
  int succeeded = 0;
  int failed = 0;

  // Converts the items in order with settings that passed ValidateSettings; returns 0.
  HRESULT Run(const std::vector<ConversionItem*>& items, const ConversionSettings& settings);
  // 0 when the item succeeded, else E_FAIL.
  virtual HRESULT ConvertItem(ConversionItem& item, const ConversionSettings& settings);
  // Converts one item whose destination folder exists; 0 or a negative code.
  virtual HRESULT ConvertFile(ConversionItem& item, const ConversionSettings& settings);

  // Creates the folder and every missing folder above it, one level at a time. True
  // when the whole path exists afterwards; an empty path fails.
  static bool CreateFolderPath(const std::string& folder);

 protected:
  // destPath is empty for the call before the item's conversion starts.
  virtual void OnItemStart(ConversionItem& item, const std::string& destPath);
  virtual void OnItemDone(ConversionItem& item);
  // percent: 30 after the load, 70 before the save, 90 after it.
  virtual void OnProgress(ConversionItem& item, int percent);

 private:
  // The reason the item may not be written to destPath, or an empty text.
  std::string RefusalFor(const ConversionItem& item, const std::string& destPath,
                         const ConversionSettings& settings) const;

  ImageBuffer image_;  // reused for every item, released after the run
  RunCollisions collisions_;
};
