#include "job/ImageConverter.h"

#include "job/ConversionPipeline.h"
#include "job/PathFunctions.h"
#include "job/WorkerCount.h"
#include "platform/FolderCreation.h"
#include "platform/PathStatus.h"

void ImageConverter::OnItemStart(ConversionItem&, const std::string&) {}
void ImageConverter::OnItemDone(ConversionItem&) {}
void ImageConverter::OnProgress(ConversionItem&, int) {}

HRESULT ImageConverter::Run(const std::vector<ConversionItem*>& items,
                            const ConversionSettings& settings) {
  total = static_cast<int>(items.size());
  if (items.empty()) return S_OK;
  ConversionPipeline pipeline(*this, settings, BudgetFor(settings.threads));
  pipeline.Run(items);
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
