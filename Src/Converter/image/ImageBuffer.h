// ImageBuffer: holds one decoded picture while it is converted. Loading a page, saving,
// converting the bit depth and running a conversion's steps in their fixed order
// (ApplySettings) are its operations. Every picture is a standalone FreeImage bitmap.
// A multi-page file stays open between loads of its pages (the TIFF's directory chain,
// the GIF's bytes and the canvas composed for its last frame), so that the pages of one
// file loaded in order cost one page each; it is closed when another file is loaded, by
// ReleaseDocument, and at the buffer's end. Every operation reports through its result
// code.
#pragma once

#include <FreeImage.h>

#include <string>

#include "image/camera/CameraData.h"
#include "image/codec/ColourProfile.h"
#include "image/codec/EncoderOptions.h"
#include "image/gif/GifReader.h"
#include "image/header/TiffPages.h"
#include "platform/Result.h"
#include "settings/ConversionSettings.h"

class ImageBuffer {
 public:
  ImageBuffer() = default;
  ImageBuffer(const ImageBuffer&) = delete;
  ImageBuffer& operator=(const ImageBuffer&) = delete;
  virtual ~ImageBuffer();

  // Converts to 1, 8, 16, 24 or 32 bits per pixel; E_INVALIDARG for any other depth.
  virtual HRESULT ConvertToBitDepth(int bpp);
  // Sets *out to 0; E_IMG_NOT_LOADED without a picture, else 1.
  virtual HRESULT QueryReserved(int, int, int* out);
  // Resize to trunc(factor x width) by trunc(factor x height).
  virtual HRESULT Scale(double factor);
  // 24-bit block-average resize to width x height.
  virtual HRESULT Resize(int width, int height);
  // Writes the picture by the path's type with the encoder options. The colour profile the
  // picture was loaded with goes with a JPEG, PNG, TIFF, WebP, AVIF or JPEG XL output of
  // more than 8 bits unless the options say the output is grey.
  HRESULT SaveAs(const std::string& path, const EncoderOptions& options);
  // SaveAs with a JPEG `quality` and a grey flag (non-zero: grey); `flags` is unused.
  virtual HRESULT Save(const std::string& path, int flags, int quality, int greyScale);
  // Loads page `pageIndex` (from 0) of a file; a failure keeps the held picture.
  virtual HRESULT Load(const std::string& path, int pageIndex);
  // Whether Load turns a picture upright by its recorded camera orientation, and whether
  // JPEG and TIFF outputs carry the loaded file's camera data, updated (both off at first).
  void SetCameraOptions(bool turnUpright, bool keepCameraData) {
    turnUpright_ = turnUpright;
    keepCameraData_ = keepCameraData;
  }

  // Runs every step of a conversion between Load and Save, in their fixed order.
  HRESULT ApplySettings(const ConversionSettings& settings);
  // Makes an 8-bit grey picture (JPEG destinations of 8 bits).
  HRESULT ToGrey8();
  // Returns to empty of pictures; the open multi-page file stays open for its next page.
  void Release();
  // Release, and closes the open multi-page file too.
  void ReleaseDocument();

  int Width() const;   // 0 without a picture
  int Height() const;  // 0 without a picture
  int Bpp() const;     // 0 without a picture
  FIBITMAP* Picture() const { return picture_; }

  // Holds `next` in place of the current picture: takes over the old picture's
  // resolution, releases it and owns `next`.
  void ReplacePicture(FIBITMAP* next);
  // Releases the current picture and owns `next` as it is.
  void Adopt(FIBITMAP* next);

 protected:
  // 32 bits per pixel, converting when needed.
  HRESULT EnsureBitDepth32();

 private:
  // Loads the page as Load does, without the camera steps; `type` is the file's type, and
  // `camera` what a library decoder read of the camera data (when it is kept).
  HRESULT LoadPicture(const std::string& path, int pageIndex, int& type, CameraData& camera);
  // Decodes page `pageIndex` of a file of a FreeImage type, after its declared size has
  // been judged; nullptr when it cannot be had.
  FIBITMAP* DecodeWithFreeImage(FREE_IMAGE_FORMAT fif, const std::string& path, int pageIndex);
  HRESULT SaveWithCameraData(FREE_IMAGE_FORMAT fif, const std::string& path, int flags);
  void AttachProfileFor(int type, bool greyOutput);
  // 8 bits per pixel on Wu's palette with Floyd-Steinberg error diffusion (GIF dithering).
  HRESULT ToDitheredPalette();
  // Holds what a step made in place of the picture when the step succeeded, else
  // releases it; a step that made nothing leaves the picture. Returns `hr`.
  HRESULT TakeResult(HRESULT hr, FIBITMAP* made);
  // Runs a transformation step on the 32-bit picture (or, for a step that takes24, on a
  // 24-bit one as it is) and adopts what it makes.
  template <typename Step>
  HRESULT RunStep(Step step, const ConversionSettings& settings, bool takes24 = false);

  FIBITMAP* picture_ = nullptr;
  TiffPages tiffPages_;       // the TIFF file whose pages are being loaded
  GifFrameReader gifFrames_;  // the GIF file whose frames are being loaded
  bool turnUpright_ = false;
  bool keepCameraData_ = false;
  CameraData camera_;  // what the loaded file recorded, when it is kept
  // The orientation written with kept camera data: 1 once turned upright, else as recorded
  // (a quarter turn of the steps then shows relative to the upright picture).
  int cameraOrientation_ = 1;
  ColourProfile profile_;  // the ICC profile of the loaded file, empty when it had none
};
