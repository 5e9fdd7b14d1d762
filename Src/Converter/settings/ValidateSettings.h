// ValidateSettings: the one check every run passes before the first file is touched.
// It reports the first fault with its text, the option page and the field that hold it,
// and (re)loads the overlay picture when an overlay is asked for.
#pragma once

#include <string>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

enum class SettingsPage { ResizeAndFile, ShadowAndOverlay };

enum class SettingsField {
  None,
  destFolder,
  ratio,
  width,
  height,
  portraitWidth,
  portraitHeight,
  cropLeftRatio,
  cropTopRatio,
  zeroPadding,
  destFileExt,
  bpp,
  rotateDegree,
  jpegQualityNew,
  paddingHorz,
  paddingVert,
  shadowOpaque,
  shadowBlur,
  overlayFilePath,
  overlayHAlignRatio,
  overlayVAlignRatio,
  overlayTransparency,
  prefix,
  suffix,
};

struct ValidationResult {
  HRESULT code = S_OK;
  std::string message;
  SettingsPage page = SettingsPage::ResizeAndFile;
  SettingsField field = SettingsField::None;
};

// 0 when the record may be used for a run, E_INVALIDARG with message, page and field
// otherwise. Changes the record only by (re)loading settings.overlayImage.
HRESULT ValidateSettings(ConversionSettings& settings, std::string& message, SettingsPage& page,
                         SettingsField& field);
ValidationResult ValidateSettings(ConversionSettings& settings);
