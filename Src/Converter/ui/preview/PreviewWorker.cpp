#include "ui/preview/PreviewWorker.h"

#include <wx/image.h>

#include <cstring>

PreviewPicture ReadPreviewPicture(const std::string& pngPath) {
  PreviewPicture picture;
  if (pngPath.empty()) return picture;
  wxImage image;
  if (!image.LoadFile(wxString::FromUTF8(pngPath), wxBITMAP_TYPE_PNG) || !image.IsOk())
    return picture;
  picture.width = image.GetWidth();
  picture.height = image.GetHeight();
  const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
  picture.rgb.assign(image.GetData(), image.GetData() + pixels * 3);
  if (image.HasAlpha()) picture.alpha.assign(image.GetAlpha(), image.GetAlpha() + pixels);
  return picture;
}

PreviewWorker::PreviewWorker(std::function<void(PreviewUpdate)> deliver)
    : deliver_(std::move(deliver)), thread_([this] { Loop(); }) {}

PreviewWorker::~PreviewWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    waiting_.reset();
  }
  renderer_.Abandon();
  wake_.notify_all();
  thread_.join();
}

void PreviewWorker::Submit(PreviewRequest request) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_ = std::move(request);
    ++epoch_;
  }
  renderer_.Abandon();
  wake_.notify_all();
}

void PreviewWorker::Cancel() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_.reset();
    ++epoch_;
  }
  renderer_.Abandon();
}

bool PreviewWorker::Superseded(std::uint64_t epoch) {
  std::lock_guard<std::mutex> lock(mutex_);
  return quit_ || epoch != epoch_;
}

void PreviewWorker::Loop() {
  while (true) {
    PreviewRequest request;
    std::uint64_t epoch = 0;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || waiting_.has_value(); });
      if (quit_) return;
      request = std::move(*waiting_);
      waiting_.reset();
      epoch = epoch_;
    }
    Render(request, epoch);
  }
}

void PreviewWorker::Render(const PreviewRequest& request, std::uint64_t epoch) {
  const ConversionItem& page = *request.page;
  const std::string key = PreviewPageKey(page) + '\n' + request.settingsText;
  PreviewUpdate update;
  update.generation = request.generation;
  if (key != lastKey_) {
    lastKey_.clear();
    lastResult_ = renderer_.RenderResult(page, request.settings);
    if (Superseded(epoch)) return;  // given up half way: nothing of it is kept
    lastKey_ = key;
  }
  update.result = lastResult_;
  deliver_(update);

  update.stage = PreviewUpdate::Stage::ResultPicture;
  update.picture = ReadPreviewPicture(renderer_.DisplayOfResult(lastResult_, request.box));
  if (Superseded(epoch)) return;
  deliver_(update);

  update.stage = PreviewUpdate::Stage::SourcePicture;
  update.picture = ReadPreviewPicture(renderer_.DisplayOfSource(page, request.box));
  if (Superseded(epoch)) return;
  deliver_(std::move(update));
}
