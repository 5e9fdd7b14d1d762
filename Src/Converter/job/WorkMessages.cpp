#include "job/WorkMessages.h"

#include <cstring>

#include "platform/ByteCodes.h"
#include "platform/RegistryStore.h"
#include "settings/SettingsSerializer.h"

namespace {

class Writer {
 public:
  Writer& Number(std::int64_t value) {
    AppendLE32(bytes_, static_cast<std::uint32_t>(value));
    return *this;
  }
  Writer& Text(const std::string& text) {
    Number(static_cast<std::int64_t>(text.size()));
    bytes_ += text;
    return *this;
  }
  std::string bytes_;
};

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  template <typename T>
  Reader& Number(T& value) {
    if (!ok_ || bytes_.size() - at_ < 4) return Fail();
    value = static_cast<T>(static_cast<std::int32_t>(
        ReadLE32(reinterpret_cast<const std::uint8_t*>(bytes_.data() + at_))));
    at_ += 4;
    return *this;
  }
  Reader& Text(std::string& text) {
    std::uint32_t size = 0;
    Number(size);
    if (!ok_ || bytes_.size() - at_ < size) return Fail();
    text.assign(bytes_, at_, size);
    at_ += size;
    return *this;
  }
  bool Whole() const { return ok_ && at_ == bytes_.size(); }

 private:
  Reader& Fail() {
    ok_ = false;
    return *this;
  }
  const std::string& bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace

std::string EncodeOrder(const WorkOrder& order) {
  return Writer{}
      .Number(order.id)
      .Text(order.sourcePath)
      .Number(order.pageIndex)
      .Text(order.tempPath)
      .bytes_;
}

std::optional<WorkOrder> DecodeOrder(const std::string& bytes) {
  WorkOrder order;
  Reader in(bytes);
  in.Number(order.id).Text(order.sourcePath).Number(order.pageIndex).Text(order.tempPath);
  return in.Whole() ? std::optional(order) : std::nullopt;
}

std::string EncodeReport(const WorkReport& r) {
  return Writer{}
      .Number(r.id)
      .Number(r.percent)
      .Number(static_cast<int>(r.failedAt))
      .Number(r.code)
      .Number(r.width)
      .Number(r.height)
      .Number(r.bitDepth)
      .Number(r.newWidth)
      .Number(r.newHeight)
      .Number(r.newBitDepth)
      .bytes_;
}

std::optional<WorkReport> DecodeReport(const std::string& bytes) {
  WorkReport r;
  int stage = 0;
  Reader in(bytes);
  in.Number(r.id).Number(r.percent).Number(stage).Number(r.code);
  in.Number(r.width).Number(r.height).Number(r.bitDepth);
  in.Number(r.newWidth).Number(r.newHeight).Number(r.newBitDepth);
  if (!in.Whole() || stage < 0 || stage > static_cast<int>(WorkStage::Save)) return std::nullopt;
  r.failedAt = static_cast<WorkStage>(stage);
  return r;
}

std::string EncodeSettings(const ConversionSettings& settings) {
  RegistryStore store;
  ConversionSettings copy = settings;
  SerializeSettings(store, copy, Save);
  return store.ToText();
}

ConversionSettings DecodeSettings(const std::string& text) {
  RegistryStore store;
  store.MergeText(text);
  ConversionSettings settings;
  SerializeSettings(store, settings, Load);
  return settings;
}
