#include "job/preview/PreviewRender.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "job/ImageConverter.h"
#include "job/PathFunctions.h"
#include "settings/ResizeOption.h"
#include "settings/ValidateSettings.h"

namespace {

std::string MakePrivateFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/brindlemark-preview-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  return mkdtemp(name.data()) ? std::string(name.data()) : std::string();
}

std::uint64_t FileBytes(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

// The naming fields of a preview: its own folder, the page's plain name, files replaced.
// None of them changes a pixel or a byte of what is written.
void WriteInto(ConversionSettings& settings, const std::string& folder) {
  settings.destFolder = folder;
  settings.sameDir = false;
  settings.prefix.clear();
  settings.suffix.clear();
  settings.override = true;
  settings.threads = 1;
  settings.source.clear();
  settings.sourceList.clear();
}

// The settings of a display copy: a 32-bit PNG fitted into the box, upright.
ConversionSettings DisplaySettings(PreviewBox box, const std::string& folder) {
  ConversionSettings display;
  display.resizeOption = MaxSize;
  display.width = box.width;
  display.height = box.height;
  display.destFileExt = "png";
  display.bpp = 32;
  display.autoRotate = true;
  WriteInto(display, folder);
  return display;
}

}  // namespace

// The pipeline's converter for one preview item: no hooks of its own.
class PreviewConverter : public ImageConverter {};

std::string PreviewPageKey(const ConversionItem& page) {
  return page.sourcePath + '\n' + std::to_string(page.pageIndex) + '\n' +
         std::to_string(page.fileSize) + '\n' + std::to_string(page.lastWriteTime);
}

void CopyPageIdentity(const ConversionItem& from, ConversionItem& to) {
  to.sourcePath = from.sourcePath;
  to.baseFolder = from.baseFolder;
  to.relativePath = from.relativePath;
  to.extension = from.extension;
  to.fileSize = from.fileSize;
  to.lastWriteTime = from.lastWriteTime;
  to.attributes = from.attributes;
  to.pageCount = from.pageCount;
  to.pageIndex = from.pageIndex;
}

PreviewRenderer::PreviewRenderer() : folder_(MakePrivateFolder()) {}

PreviewRenderer::~PreviewRenderer() {
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

void PreviewRenderer::Abandon() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (running_) running_->abandon = true;
}

bool PreviewRenderer::Convert(ConversionItem& item, const ConversionSettings& settings) {
  PreviewConverter converter;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = &converter;
  }
  converter.Run({&item}, settings);
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = nullptr;
  return !converter.abandon;
}

PreviewResult PreviewRenderer::RenderResult(const ConversionItem& page,
                                            const ConversionSettings& settings) {
  PreviewResult result;
  if (!Ready()) {
    result.reason = "There is no folder for the preview.";
    return result;
  }
  ConversionSettings run = settings;
  WriteInto(run, folder_ + "/result");
  const ValidationResult valid = ValidateSettings(run);
  if (Failed(valid.code)) {
    result.reason = valid.message;
    return result;
  }
  ConversionItem item;
  CopyPageIdentity(page, item);
  if (!Convert(item, run)) return result;
  result.sourceWidth = item.width;
  result.sourceHeight = item.height;
  if (item.status != ItemStatus::Succeeded) {
    result.reason = item.log;
    return result;
  }
  result.converted = true;
  result.file = item.destPath;
  result.width = item.newWidth;
  result.height = item.newHeight;
  result.bitDepth = item.newBitDepth;
  result.bytes = FileBytes(item.destPath);
  return result;
}

std::string PreviewRenderer::Display(ConversionItem& item, PreviewBox box,
                                     const std::string& subfolder) {
  if (!Ready() || box.width < 1 || box.height < 1) return {};
  if (!Convert(item, DisplaySettings(box, folder_ + "/" + subfolder))) return {};
  return item.status == ItemStatus::Succeeded ? item.destPath : std::string();
}

std::string PreviewRenderer::DisplayOfResult(const PreviewResult& result, PreviewBox box) {
  if (!result.converted) return {};
  ConversionItem item;
  item.sourcePath = result.file;
  item.baseFolder = DirectoryOf(result.file);
  item.relativePath = FileNameOf(result.file);
  item.extension = ExtensionOf(result.file);
  item.fileSize = result.bytes;
  return Display(item, box, "result-display");
}

std::string PreviewRenderer::DisplayOfSource(const ConversionItem& page, PreviewBox box) {
  const std::string key =
      PreviewPageKey(page) + '\n' + std::to_string(box.width) + 'x' + std::to_string(box.height);
  if (key == sourceKey_ && !sourceDisplay_.empty()) return sourceDisplay_;
  ConversionItem item;
  CopyPageIdentity(page, item);
  sourceDisplay_ = Display(item, box, "source-display");
  sourceKey_ = sourceDisplay_.empty() ? std::string() : key;
  return sourceDisplay_;
}
