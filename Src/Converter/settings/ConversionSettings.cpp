#include "settings/ConversionSettings.h"

namespace {

// A record whose members hold the defaults, to copy groups from.
const ConversionSettings& Defaults() {
  static const ConversionSettings defaults;
  return defaults;
}

}  // namespace

void ConversionSettings::Reset() {
  ResetImageOperations();
  ResetJob();
}

void ConversionSettings::ResetImageOperations() {
  const ConversionSettings& d = Defaults();
  resizeOption = d.resizeOption;
  sameForPortrait = d.sameForPortrait;
  width = d.width;
  height = d.height;
  portraitWidth = d.portraitWidth;
  portraitHeight = d.portraitHeight;
  ratio = d.ratio;
  cropLeftRatio = d.cropLeftRatio;
  cropTopRatio = d.cropTopRatio;
  rotateDegree = d.rotateDegree;
  bpp = d.bpp;
  greyScale = d.greyScale;
  keepMetadata = d.keepMetadata;
  autoRotate = d.autoRotate;
  filter = d.filter;
  paddingColor = d.paddingColor;
  addPadding = d.addPadding;
  paddingVert = d.paddingVert;
  paddingHorz = d.paddingHorz;
  createShadow = d.createShadow;
  shadowOpaque = d.shadowOpaque;
  shadowDistance = d.shadowDistance;
  shadowAngle = d.shadowAngle;
  shadowBlur = d.shadowBlur;
  shadowBackColor = d.shadowBackColor;
  shadowColor = d.shadowColor;
  overlay = d.overlay;
  overlayFilePath = d.overlayFilePath;
  overlayImage.reset();
  overlayHAlignRatio = d.overlayHAlignRatio;
  overlayVAlignRatio = d.overlayVAlignRatio;
  overlayTransparency = d.overlayTransparency;
  overlayTransparentClr = d.overlayTransparentClr;
  destFileExt = d.destFileExt;
}

void ConversionSettings::ResetJob() {
  const ConversionSettings& d = Defaults();
  zeroPadding = d.zeroPadding;
  override = d.override;
  sameDir = d.sameDir;
  jpegQualityNew = d.jpegQualityNew;
  progressive = d.progressive;
  gifDither = d.gifDither;
  destFolder = d.destFolder;
  prefix = d.prefix;
  suffix = d.suffix;
  source = d.source;
  recursive = d.recursive;
  threads = d.threads;
  timeoutSeconds = d.timeoutSeconds;
  savePreset = d.savePreset;
}
