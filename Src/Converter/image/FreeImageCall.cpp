#include "image/FreeImageCall.h"

#include <FreeImage.h>

#include <cstring>

namespace {

// FreeImage's last message, kept out of sight in a private buffer.
char gMessage[1024] = {};

void DLL_CALLCONV KeepMessage(FREE_IMAGE_FORMAT, const char* message) {
  if (!message) message = "";
  std::strncpy(gMessage, message, sizeof gMessage - 1);
  gMessage[sizeof gMessage - 1] = '\0';
}

}  // namespace

void StartFreeImage() {
  FreeImage_SetOutputMessage(KeepMessage);
  FreeImage_Initialise(FALSE);
}

void StopFreeImage() { FreeImage_DeInitialise(); }

std::string LastFreeImageMessage() { return gMessage; }
