#include "settings/ValidateSettings.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "image/ImageBuffer.h"
#include "image/codec/OutputTypes.h"
#include "image/OverlayPicture.h"
#include "strings/StringTable.h"

namespace {

constexpr const char* kBadCropRatio = "Invalid cropping ratio. Valid ratio must be 0-100";
constexpr const char* kBadRotation = "Invalid rotate degree. Valid values are 0, 90, 180 and 270.";
constexpr const char* kBadJpegQuality =
    "Invalid jpeg quality. Valid values are numbers from 1-100.";
constexpr const char* kBadFrameHorz = "Horizontal frame thickness must be between 0 and 1000.";
constexpr const char* kBadFrameVert = "Vertical frame thickness must be between 0 and 1000.";
constexpr const char* kBadPrefix = "Invalid prefix. A prefix cannot contain /.";
constexpr const char* kBadSuffix = "Invalid suffix. A suffix cannot contain /.";
constexpr const char* kBadExtension = "Invalid file type. A file type cannot contain / or \"..\".";
constexpr const char* kBadShadowOpaque = "Invalid opaque value. Valid value must be 0-100";
constexpr const char* kBadShadowBlur = "Invalid shadow blur value. Valid value must be 0-1000";
constexpr const char* kOverlayLoadFailed = "Failed to load overlay image file ";
constexpr const char* kBadOverlayHAlign =
    "Invalid overlay horizontal align value. Valid value must be 0-100";
constexpr const char* kBadOverlayVAlign =
    "Invalid overlay vertical align value. Valid value must be 0-100";
constexpr const char* kBadOverlayTransparency =
    "Invalid overlay transparency value. Valid value must be 0-100";

// "PNG cannot be written with 16 bits per pixel; choose 1, 8, 24 or 32."
std::string DepthRefusal(const std::string& extension, int bpp) {
  const std::vector<int> held = WrittenDepths(extension);
  std::string type;
  for (char c : extension) type += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string choices;
  for (std::size_t i = 0; i < held.size(); ++i) {
    if (i > 0) choices += i + 1 == held.size() ? " or " : ", ";
    choices += std::to_string(held[i]);
  }
  return type + " cannot be written with " + std::to_string(bpp) + (bpp == 1 ? " bit" : " bits") +
         " per pixel; choose " + choices + ".";
}

// Inclusive at both ends; NaN fails.
bool IsFraction(double v) { return v >= 0.0 && v <= 1.0; }
bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

class Checker {
 public:
  explicit Checker(ValidationResult& r) : result_(r) {}

  // Records the fault unless one is already recorded; returns whether the check passed.
  bool Require(bool ok, std::string message, SettingsField field) {
    if (ok) return true;
    result_.code = E_INVALIDARG;
    result_.message = std::move(message);
    result_.field = field;
    return false;
  }

 private:
  ValidationResult& result_;
};

bool CheckResizePage(const ConversionSettings& s, Checker& c) {
  const int mode = s.resizeOption;
  const ResizeModeUse use = ResizeModeUses(mode);
  const bool needW = use.width;
  const bool needH = use.height;
  const std::string widthText(LoadText(Ids::WidthNotPositive));
  const std::string heightText(LoadText(Ids::HeightNotPositive));
  // A non-finite ratio would reach the geometry as an unbounded size: refuse it here.
  return c.Require(!s.destFolder.empty(), std::string(LoadText(Ids::DestFolderMissing)),
                   SettingsField::destFolder) &&
         c.Require(!use.ratio || (s.ratio > 0.0 && std::isfinite(s.ratio)),
                   std::string(LoadText(Ids::RatioNotPositive)), SettingsField::ratio) &&
         c.Require(!needW || s.width >= 1, widthText, SettingsField::width) &&
         c.Require(!needH || s.height >= 1, heightText, SettingsField::height) &&
         c.Require(s.sameForPortrait || !needW || s.portraitWidth >= 1, widthText,
                   SettingsField::portraitWidth) &&
         c.Require(s.sameForPortrait || !needH || s.portraitHeight >= 1, heightText,
                   SettingsField::portraitHeight) &&
         c.Require(!use.cropPosition || IsFraction(s.cropLeftRatio), kBadCropRatio,
                   SettingsField::cropLeftRatio) &&
         c.Require(!use.cropPosition || IsFraction(s.cropTopRatio), kBadCropRatio,
                   SettingsField::cropTopRatio) &&
         c.Require(s.zeroPadding >= 0, std::string(LoadText(Ids::ZeroPaddingNegative)),
                   SettingsField::zeroPadding) &&
         c.Require(!s.destFileExt.empty(), std::string(LoadText(Ids::DestTypeMissing)),
                   SettingsField::destFileExt) &&
         c.Require(!WrittenDepths(s.destFileExt).empty(),
                   std::string(LoadText(Ids::DestTypeUnsupported)), SettingsField::destFileExt) &&
         c.Require(WritesType(s.destFileExt, s.bpp), DepthRefusal(s.destFileExt, s.bpp),
                   SettingsField::bpp) &&
         // A "/" would put the file outside the destination folder, or in a missing one.
         c.Require(s.prefix.find('/') == std::string::npos, kBadPrefix, SettingsField::prefix) &&
         c.Require(s.suffix.find('/') == std::string::npos, kBadSuffix, SettingsField::suffix) &&
         c.Require(s.destFileExt.find('/') == std::string::npos &&
                       s.destFileExt.find("..") == std::string::npos,
                   kBadExtension, SettingsField::destFileExt) &&
         c.Require(s.rotateDegree == 0 || s.rotateDegree == 90 || s.rotateDegree == 180 ||
                       s.rotateDegree == 270,
                   kBadRotation, SettingsField::rotateDegree) &&
         c.Require(InRange(s.jpegQualityNew, 1, 100), kBadJpegQuality,
                   SettingsField::jpegQualityNew) &&
         c.Require(!s.addPadding || InRange(s.paddingHorz, 0, 1000), kBadFrameHorz,
                   SettingsField::paddingHorz) &&
         c.Require(!s.addPadding || InRange(s.paddingVert, 0, 1000), kBadFrameVert,
                   SettingsField::paddingVert);
}

bool CheckShadow(const ConversionSettings& s, Checker& c) {
  if (!s.createShadow) return true;
  return c.Require(IsFraction(s.shadowOpaque), kBadShadowOpaque, SettingsField::shadowOpaque) &&
         c.Require(InRange(s.shadowBlur, 0, 1000), kBadShadowBlur, SettingsField::shadowBlur);
}

// Loads the overlay picture afresh, then checks its placement and weight.
bool CheckOverlay(ConversionSettings& s, Checker& c) {
  if (!s.overlay) return true;
  s.overlayImage = std::make_shared<ImageBuffer>();
  if (!c.Require(Succeeded(LoadOverlayPicture(*s.overlayImage, s.overlayFilePath)),
                 kOverlayLoadFailed + s.overlayFilePath, SettingsField::overlayFilePath))
    return false;
  return c.Require(IsFraction(s.overlayHAlignRatio), kBadOverlayHAlign,
                   SettingsField::overlayHAlignRatio) &&
         c.Require(IsFraction(s.overlayVAlignRatio), kBadOverlayVAlign,
                   SettingsField::overlayVAlignRatio) &&
         c.Require(IsFraction(s.overlayTransparency), kBadOverlayTransparency,
                   SettingsField::overlayTransparency);
}

}  // namespace

ValidationResult ValidateSettings(ConversionSettings& settings) {
  ValidationResult result;
  Checker checker(result);
  if (!CheckResizePage(settings, checker)) return result;
  result.page = SettingsPage::ShadowAndOverlay;
  if (!CheckShadow(settings, checker)) return result;
  CheckOverlay(settings, checker);
  return result;
}

HRESULT ValidateSettings(ConversionSettings& settings, std::string& message, SettingsPage& page,
                         SettingsField& field) {
  ValidationResult r = ValidateSettings(settings);
  message = std::move(r.message);
  page = r.page;
  field = r.field;
  return r.code;
}
