// libheif's start and the owners of its objects, shared by the HEIF reader and the AVIF
// writer.
#pragma once

#include <libheif/heif.h>

#include <memory>

#include "platform/Result.h"

// Initialises libheif once for the process; every entry point that uses it calls this first.
void StartLibheif();

bool HeifOk(const heif_error& error);
// The load code of a libheif error: 0 for none, E_IMG_TRUNCATED when the file ends too
// soon, E_IMG_CORRUPT for other faults of the file's contents, else E_IMG_LOAD.
HRESULT LoadCodeOf(const heif_error& error);
// Whether libheif has a decoder (an encoder) for pictures coded in `format`.
bool LibheifDecodes(heif_compression_format format);
bool LibheifEncodes(heif_compression_format format);

using HeifContextPtr = std::unique_ptr<heif_context, decltype(&heif_context_free)>;
using HeifHandlePtr = std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)>;
using HeifImagePtr = std::unique_ptr<heif_image, decltype(&heif_image_release)>;
