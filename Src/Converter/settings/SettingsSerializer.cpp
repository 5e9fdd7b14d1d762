#include "settings/SettingsSerializer.h"

#include <cstring>
#include <string>

#include "platform/ByteCodes.h"

namespace {

// One key of the store seen through one mode: each call moves one field.
class Exchange {
 public:
  Exchange(RegistryStore& store, std::string_view key, SerializeMode mode)
      : store_(store), key_(key), mode_(mode) {
    if (mode_ != Reset) store_.CreateKey(key_);  // opening a key creates it
  }

  // int, COLORREF and ResizeOption: exactly 4 bytes, whatever the value's type.
  template <typename T>
  void Number(std::string_view name, T& field, T fallback) {
    if (mode_ == Save) {
      store_.SetDword(key_, name, static_cast<std::uint32_t>(field));
    } else if (mode_ == Reset) {
      field = fallback;
    } else {
      const RegValue* v = store_.Query(key_, name);
      field = (v && v->data.size() == 4) ? static_cast<T>(Read32(v->data.data())) : fallback;
    }
  }

  void Bool(std::string_view name, bool& field, bool fallback) {
    std::uint32_t n = field ? 1 : 0;
    Number(name, n, fallback ? 1u : 0u);
    if (mode_ != Save) field = n != 0;
  }

  // The 8 bytes of the IEEE double, in memory order.
  void Double(std::string_view name, double& field, double fallback) {
    if (mode_ == Save) {
      store_.SetBinary(key_, name, &field, sizeof field);
    } else if (mode_ == Reset) {
      field = fallback;
    } else {
      const RegValue* v = store_.Query(key_, name);
      if (v && v->data.size() == sizeof(double))
        std::memcpy(&field, v->data.data(), sizeof field);
      else
        field = fallback;
    }
  }

  // Text up to its first NUL (or the end of the data), whatever the value's type.
  void String(std::string_view name, std::string& field, std::string_view fallback) {
    if (mode_ == Save) {
      store_.SetString(key_, name, field);
    } else if (mode_ == Reset) {
      field = fallback;
    } else {
      const RegValue* v = store_.Query(key_, name);
      if (!v) {
        field = fallback;
        return;
      }
      // Up to the first NUL or the end of the data, whichever comes first; no data is "".
      const auto* text = reinterpret_cast<const char*>(v->data.data());
      field.assign(text, v->data.empty() ? 0 : strnlen(text, v->data.size()));
    }
  }

  // Copied only when exactly the record's size; `valid` tells whether it was.
  void Placement(std::string_view name, WindowPlacement& field, bool& valid) {
    if (mode_ == Save) {
      const auto bytes = field.ToBytes();
      store_.SetBinary(key_, name, bytes.data(), bytes.size());
    } else if (mode_ == Reset) {
      valid = false;
    } else {
      const RegValue* v = store_.Query(key_, name);
      valid = v && v->data.size() == WindowPlacement::kBytes;
      if (valid) field = WindowPlacement::FromBytes(v->data.data());
    }
  }

  SerializeMode mode() const { return mode_; }

 private:
  static std::uint32_t Read32(const std::uint8_t* p) { return ReadLE32(p); }

  RegistryStore& store_;
  std::string key_;
  SerializeMode mode_;
};

const ConversionSettings& Defaults() {
  static const ConversionSettings defaults;
  return defaults;
}

void SerializeJob(RegistryStore& store, ConversionSettings& s, SerializeMode mode) {
  const ConversionSettings& d = Defaults();
  Exchange x(store, StoreKeys::BatchSetting, mode);
  x.Number("zeroPadding", s.zeroPadding, d.zeroPadding);
  x.Number("jpegQualityNew", s.jpegQualityNew, d.jpegQualityNew);
  x.Bool("progressive", s.progressive, d.progressive);
  x.Bool("gifDither", s.gifDither, d.gifDither);
  x.String("destFolder", s.destFolder, d.destFolder);
  x.String("prefix", s.prefix, d.prefix);
  x.String("suffix", s.suffix, d.suffix);
  x.Bool("override", s.override, d.override);
  x.Bool("sameDir", s.sameDir, d.sameDir);
}

std::string ColumnWidthName(int column) { return "ConvListColumnWidth" + std::to_string(column); }

void SerializeColumnWidths(RegistryStore& store, AppSettings& app, SerializeMode mode) {
  Exchange x(store, StoreKeys::Window, mode);
  const auto defaults = AppSettings::DefaultColumnWidths();
  for (int i = 0; i < kColumnCount; ++i)
    x.Number(ColumnWidthName(i), app.columnWidths[i], defaults[i]);
}

}  // namespace

void SerializeImageOperations(RegistryStore& store, ConversionSettings& s, SerializeMode mode) {
  if (mode == Reset) {
    s.ResetImageOperations();
    return;
  }
  const ConversionSettings& d = Defaults();
  Exchange x(store, StoreKeys::BatchSetting, mode);
  x.Number("resizeOption", s.resizeOption, d.resizeOption);
  x.Bool("sameForPortrait", s.sameForPortrait, d.sameForPortrait);
  x.Number("width", s.width, d.width);
  x.Number("height", s.height, d.height);
  x.Number("portraitWidth", s.portraitWidth, d.portraitWidth);
  x.Number("portraitHeight", s.portraitHeight, d.portraitHeight);
  x.Double("ratio", s.ratio, d.ratio);
  x.Double("cropLeftRatio", s.cropLeftRatio, d.cropLeftRatio);
  x.Double("cropTopRatio", s.cropTopRatio, d.cropTopRatio);
  x.Number("rotateDegree", s.rotateDegree, d.rotateDegree);
  x.String("destFileExt", s.destFileExt, d.destFileExt);
  x.Number("bpp", s.bpp, d.bpp);
  x.Bool("greyScale", s.greyScale, d.greyScale);
  x.Bool("keepMetadata", s.keepMetadata, d.keepMetadata);
  x.Bool("autoRotate", s.autoRotate, d.autoRotate);
  x.Number("filter", s.filter, d.filter);
  x.Bool("addPadding", s.addPadding, d.addPadding);
  x.Number("paddingVert", s.paddingVert, d.paddingVert);
  x.Number("paddingHorz", s.paddingHorz, d.paddingHorz);
  x.Number("paddingColor", s.paddingColor, d.paddingColor);
  x.Bool("createShadow", s.createShadow, d.createShadow);
  x.Number("shadowAngle", s.shadowAngle, d.shadowAngle);
  x.Number("shadowBackColor", s.shadowBackColor, d.shadowBackColor);
  x.Number("shadowBlur", s.shadowBlur, d.shadowBlur);
  x.Number("shadowColor", s.shadowColor, d.shadowColor);
  x.Number("shadowDistance", s.shadowDistance, d.shadowDistance);
  x.Double("shadowOpaque", s.shadowOpaque, d.shadowOpaque);
  x.Bool("overlay", s.overlay, d.overlay);
  x.String("overlayFilePath", s.overlayFilePath, d.overlayFilePath);
  x.Double("overlayHAlignRatio", s.overlayHAlignRatio, d.overlayHAlignRatio);
  x.Double("overlayVAlignRatio", s.overlayVAlignRatio, d.overlayVAlignRatio);
  x.Double("overlayTransparency", s.overlayTransparency, d.overlayTransparency);
  x.Number("overlayTransparentClr", s.overlayTransparentClr, d.overlayTransparentClr);
}

void SerializeSettings(RegistryStore& store, ConversionSettings& s, SerializeMode mode) {
  if (mode == Reset) {
    s.Reset();
    return;
  }
  SerializeImageOperations(store, s, mode);
  SerializeJob(store, s, mode);
}

void SerializeAppSettings(RegistryStore& store, AppSettings& app, SerializeMode mode) {
  SerializeSettings(store, app.conversion, mode);
  Exchange x(store, StoreKeys::Window, mode);
  x.Bool("addDirRecursive", app.addDirRecursive, true);
  x.String("CurrentFolder", app.CurrentFolder, "");
  x.String("lastSelFileDir", app.lastSelFileDir, "");
  x.Placement("MainFramePlacement", app.MainFramePlacement, app.placementValid);
}

void LoadAll(RegistryStore& store, AppSettings& app) {
  store.Load();
  const bool created =
      store.CreateKey(StoreKeys::BatchSetting) | store.CreateKey(StoreKeys::Window);
  SerializeColumnWidths(store, app, Load);
  SerializeAppSettings(store, app, Load);
  if (created) store.Flush();
}

void SaveAll(RegistryStore& store, AppSettings& app) {
  SerializeColumnWidths(store, app, Save);
  SerializeAppSettings(store, app, Save);
  store.Flush();
}

void SaveBarState(RegistryStore& store, bool toolBarShown, bool statusBarShown) {
  store.SetDword(StoreKeys::BarState, "ToolBarVisible", toolBarShown ? 1 : 0);
  store.SetDword(StoreKeys::BarState, "StatusBarVisible", statusBarShown ? 1 : 0);
}
