#include "job/PageWork.h"

#include "image/codec/EncoderOptions.h"
#include "platform/PathStatus.h"

WorkReport ConvertPage(const WorkOrder& order, const ConversionSettings& settings,
                       ImageBuffer& image, const std::function<void(const WorkReport&)>& progress) {
  WorkReport report;
  report.id = order.id;
  const HRESULT loaded =
      OpensAsRegularFile(order.sourcePath) ? image.Load(order.sourcePath, order.pageIndex) : E_FAIL;
  if (Succeeded(loaded)) {
    report.width = image.Width();
    report.height = image.Height();
    report.bitDepth = image.Bpp();
  }
  report.percent = 30;
  progress(report);
  if (Failed(loaded)) {
    report.failedAt = WorkStage::Load;
    report.code = loaded;
  } else if (Failed(image.ApplySettings(settings))) {
    report.failedAt = WorkStage::Steps;
    report.code = E_FAIL;
  } else {
    report.percent = 70;
    progress(report);
    report.code =
        order.tempPath.empty() ? E_FAIL : image.SaveAs(order.tempPath, EncoderOptionsFor(settings));
    report.newWidth = image.Width();
    report.newHeight = image.Height();
    report.newBitDepth = image.Bpp();
    if (Failed(report.code)) report.failedAt = WorkStage::Save;
  }
  report.percent = 100;
  image.Release();  // the worker holds no picture between orders
  return report;
}
