#include "image/codec/FreeImageCall.h"

#include <FreeImage.h>

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "image/codec/LoadWatch.h"

namespace {

// FreeImage's last message, kept out of sight in a private buffer. The codecs report on
// the thread that called them, so each thread keeps its own.
thread_local char gMessage[1024] = {};

void DLL_CALLCONV KeepMessage(FREE_IMAGE_FORMAT, const char* message) {
  if (!message) message = "";
  std::strncpy(gMessage, message, sizeof gMessage - 1);
  gMessage[sizeof gMessage - 1] = '\0';
  NoteDamage(DamageNamedByFreeImage(gMessage));
}

// The TIFF codec under FreeImage prints its warnings and errors (for example about EXIF
// tags it does not know) straight to standard error. They are kept out of sight too; one
// that names lost data (a read error, JPEG data inside the TIFF ending early) marks the
// load in progress as damaged.
void KeepTiffMessage(const char* /*module*/, const char* format, va_list args) {
  std::vsnprintf(gMessage, sizeof gMessage, format ? format : "", args);
  NoteDamage(DamageNamedByTiffMessage(gMessage));
}

using TiffHandler = void (*)(const char*, const char*, va_list);
using SetTiffHandler = TiffHandler (*)(TiffHandler);

// The codec library is loaded with FreeImage; its handlers are set when it is present.
void QuietTiffCodec() {
  for (const char* name : {"TIFFSetWarningHandler", "TIFFSetErrorHandler"}) {
    if (auto set = reinterpret_cast<SetTiffHandler>(dlsym(RTLD_DEFAULT, name)))
      set(KeepTiffMessage);
  }
}

}  // namespace

void StartFreeImage() {
  FreeImage_SetOutputMessage(KeepMessage);
  FreeImage_Initialise(FALSE);
  QuietTiffCodec();
}

void StopFreeImage() { FreeImage_DeInitialise(); }

std::string LastFreeImageMessage() { return gMessage; }
