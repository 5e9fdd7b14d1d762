// Writing a destination whole or not at all. Before a page is handed to a worker, the run
// creates an empty temporary file in the destination's folder (its name ends with the
// destination's extension, so the encoder is chosen the same way) and notes it for
// removal on a signal; the worker encodes into it; the run then renames it over the
// destination, or removes it. So the run always knows every temporary file, also the one
// of a worker that died.
#pragma once

#include <string>

#include "platform/Result.h"

struct SafeSaveResult {
  HRESULT code = S_OK;
  bool destinationExists = false;  // without `replace`: an entry appeared at the destination
};

struct EncodedTemp {
  std::string path;  // empty when none could be created
  int note = -1;     // the signal clean-up's note
};

// Creates the temporary file for `dest`. A destination name longer than the file-name
// limit, or a folder that refuses the file, fails with no file made.
HRESULT PrepareTemp(const std::string& dest, EncodedTemp& out);
// Moves the temporary file over `dest`. Without `replace` an existing entry is never
// touched (destinationExists). The temporary file is gone afterwards either way.
SafeSaveResult PublishTemp(EncodedTemp& temp, const std::string& dest, bool replace);
// Removes the temporary file without publishing it; nothing when there is none.
void DiscardTemp(EncodedTemp& temp);
