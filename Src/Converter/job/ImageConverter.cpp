#include "job/ImageConverter.h"

#include "image/ImageResult.h"
#include "job/DestinationNaming.h"
#include "job/PathFunctions.h"
#include "job/SafeSave.h"
#include "platform/FolderCreation.h"
#include "platform/PathStatus.h"
#include "strings/StringTable.h"

void ImageConverter::OnItemStart(ConversionItem&, const std::string&) {}
void ImageConverter::OnItemDone(ConversionItem&) {}
void ImageConverter::OnProgress(ConversionItem&, int) {}

HRESULT ImageConverter::Run(const std::vector<ConversionItem*>& items,
                            const ConversionSettings& settings) {
  total = static_cast<int>(items.size());
  collisions_.Begin(items);
  image_.SetCameraOptions(settings.autoRotate, settings.keepMetadata);
  for (ConversionItem* item : items) {
    if (stop) break;
    OnItemStart(*item, {});
    if (Failed(ConvertItem(*item, settings))) {
      ++failed;
    } else {
      ++succeeded;
    }
    OnItemDone(*item);
  }
  collisions_.Clear();
  image_.Release();
  return S_OK;
}

HRESULT ImageConverter::ConvertItem(ConversionItem& item, const ConversionSettings& settings) {
  ++processed;
  item.destPath.clear();  // a failure before the path is built reports no destination
  const std::string folder = DestinationFolderFor(item, settings);
  if (!FolderExists(folder) && !CreateFolderPath(folder)) {
    item.log = FormatText(Ids::CreateFolderFailed, folder);
    item.status = ItemStatus::Failed;
    return E_FAIL;
  }
  item.status = Succeeded(ConvertFile(item, settings)) ? ItemStatus::Succeeded : ItemStatus::Failed;
  return item.status == ItemStatus::Succeeded ? S_OK : E_FAIL;
}

std::string ImageConverter::RefusalFor(const ConversionItem& item, const std::string& destPath,
                                       const ConversionSettings& settings) const {
  // Any entry counts as existing, also one that cannot be read or a dangling link. With
  // override, a file that another item reads or that this run wrote is still kept.
  const bool exists =
      settings.override ? collisions_.Forbidden(item, destPath) : EntryExists(destPath);
  return exists ? FormatText(Ids::FileExists, destPath) : std::string{};
}

HRESULT ImageConverter::ConvertFile(ConversionItem& item, const ConversionSettings& settings) {
  item.destPath = BuildDestinationPath(item, settings, item.pageIndex, item.pageCount);
  OnItemStart(item, item.destPath);
  if (std::string refusal = RefusalFor(item, item.destPath, settings); !refusal.empty()) {
    item.log = std::move(refusal);
    return E_FAIL;
  }
  // The previous item's picture is of no further use: freeing it first keeps one picture
  // in memory at a time and lets the allocator hand its pages straight to the next one.
  image_.Release();
  // A source that became a FIFO or device since collection would block the load for ever.
  const HRESULT loaded =
      OpensAsRegularFile(item.sourcePath) ? image_.Load(item.sourcePath, item.pageIndex) : E_FAIL;
  OnProgress(item, 30);
  if (Failed(loaded)) {
    item.log = LoadFailureText(item.sourcePath, loaded);
    return loaded;
  }
  item.width = image_.Width();
  item.height = image_.Height();
  item.bitDepth = image_.Bpp();
  if (Failed(image_.ApplySettings(settings))) {
    item.log = FormatText(Ids::ResizeFailed, item.sourcePath);
    return E_FAIL;
  }
  OnProgress(item, 70);
  const SafeSaveResult saved =
      SaveWhole(image_, item.destPath, EncoderOptionsFor(settings), settings.override);
  item.newBitDepth = image_.Bpp();
  item.newWidth = image_.Width();
  item.newHeight = image_.Height();
  OnProgress(item, 90);
  if (saved.destinationExists) {  // appeared after the check: still never overwritten
    item.log = FormatText(Ids::FileExists, item.destPath);
    return E_FAIL;
  }
  if (Failed(saved.code)) {
    item.log = FormatText(Ids::SaveFailed, item.destPath);
    return saved.code;
  }
  collisions_.Written(item.destPath);
  item.log = FormatText(Ids::Converted, item.sourcePath, item.destPath);
  return S_OK;
}

bool ImageConverter::CreateFolderPath(const std::string& folder) {
  if (folder.empty()) return false;
  // Every "/" that follows at least one other character ends a prefix to create; the
  // leading "/" of an absolute path ends none.
  bool seenOther = false;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] != '/') {
      seenOther = true;
      continue;
    }
    if (!seenOther) continue;
    const std::string prefix = folder.substr(0, i);
    if (!FolderExists(prefix) && !MakeFolder(prefix)) return false;
  }
  return FolderExists(folder) || MakeFolder(folder);
}
