// ConversionSettings: the one record of every conversion option. The image-operation
// group comes first and is stored, loaded and reset as a unit; the job group follows.
// Colours are COLORREF values 0x00BBGGRR; fractions are 0.0 to 1.0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "settings/ResampleFilter.h"
#include "settings/ResizeOption.h"

class ImageBuffer;
using COLORREF = std::uint32_t;

struct ConversionSettings {
  // Image-operation group, in declaration order.
  int resizeOption = FixedCrop;
  bool sameForPortrait = true;
  int width = 150;
  int height = 100;
  int portraitWidth = 100;
  int portraitHeight = 150;
  double ratio = 0.5;
  double cropLeftRatio = 0.5;
  double cropTopRatio = 0.5;
  int rotateDegree = 0;
  int bpp = 24;
  bool greyScale = false;
  COLORREF paddingColor = 0xFFFFFF;
  bool addPadding = false;
  int paddingVert = 4;
  int paddingHorz = 4;
  bool createShadow = false;
  double shadowOpaque = 0.8;
  int shadowDistance = 7;
  int shadowAngle = 135;
  int shadowBlur = 8;
  COLORREF shadowBackColor = 0xFFFFFF;
  COLORREF shadowColor = 0x000000;
  bool overlay = false;
  std::string overlayFilePath;
  // Not stored: loaded by ValidateSettings from overlayFilePath, 32 bits per pixel, read
  // by the overlay step. Shared so that a copy of the record reads the same picture;
  // validation replaces it, never changes it.
  std::shared_ptr<ImageBuffer> overlayImage;
  double overlayHAlignRatio = 0.5;
  double overlayVAlignRatio = 0.5;
  double overlayTransparency = 0.5;
  std::uint32_t overlayTransparentClr = 0;  // a pixel value 0x00RRGGBB, not a COLORREF
  std::string destFileExt = "jpg";
  bool keepMetadata = false;  // copy camera data (EXIF, IPTC, XMP) to JPEG and TIFF outputs
  bool autoRotate = false;    // turn pictures upright by their camera orientation at load
  int filter = BoxFilter;     // the ResampleFilter of the resize step; unknown values mean box

  // Job group, in declaration order.
  int zeroPadding = 2;
  bool override = false;
  bool sameDir = false;
  int jpegQualityNew = 80;
  bool progressive = false;  // JPEG outputs are written progressive
  bool gifDither = false;    // GIF outputs diffuse the error of their palette (Floyd-Steinberg)
  std::string destFolder;
  std::string prefix;
  std::string suffix;
  std::string source;      // not stored: the command line's source file or folder
  std::string sourceList;  // not stored: the command line's list of sources ("-": stdin)
  bool recursive = true;   // not stored: whether the command line descends into subfolders
  int threads = 0;  // not stored: the command line's workers; 0 picks them by cores and memory
  int timeoutSeconds = 60;  // not stored: base of a picture's time limit; 0: none
  std::string savePreset;   // not stored: the command line's preset to write, name or path

  // Puts every field back to its default.
  void Reset();
  // Puts the image-operation group back to its defaults, leaving the job group alone.
  void ResetImageOperations();
  // Puts the job group back to its defaults.
  void ResetJob();
};
