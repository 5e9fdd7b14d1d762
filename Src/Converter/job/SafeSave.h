// Saving a picture so that the destination is replaced whole or not at all: the picture
// is written to a temporary file in the destination's folder (ending with the
// destination's extension, so the format is chosen the same way) and renamed over the
// destination only when the write is complete.
#pragma once

#include <string>

#include "image/ImageBuffer.h"
#include "platform/Result.h"

struct SafeSaveResult {
  HRESULT code = S_OK;
  bool destinationExists = false;  // without `replace`: an entry appeared at the destination
};

// Saves `image` to `dest` with the encoder options.
// Without `replace` an existing entry is never touched. A name longer than the file-name
// limit fails. No temporary file is left behind on any failure.
SafeSaveResult SaveWhole(ImageBuffer& image, const std::string& dest, const EncoderOptions& options,
                         bool replace);

// The two halves of SaveWhole, for a run whose workers encode while another thread
// publishes the results in order: the encoded picture waits under its temporary name
// (noted for removal on a signal) until it is published or discarded.
struct EncodedTemp {
  std::string path;  // empty when the encoding failed
  int note = -1;
};
// Encodes `image` into a fresh temporary file beside `dest`; on failure no file is left
// and the code is negative.
HRESULT EncodeToTemp(ImageBuffer& image, const std::string& dest, const EncoderOptions& options,
                     EncodedTemp& out);
// Moves the temporary file over `dest` as SaveWhole would; it is gone afterwards either way.
SafeSaveResult PublishTemp(EncodedTemp& temp, const std::string& dest, bool replace);
// Removes the temporary file without publishing it.
void DiscardTemp(EncodedTemp& temp);
