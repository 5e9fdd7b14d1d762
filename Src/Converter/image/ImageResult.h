// Result codes of the image pipeline.
#pragma once

#include "platform/Result.h"

constexpr HRESULT E_IMG_NOT_LOADED = static_cast<HRESULT>(0x80400001u);  // no picture is held
constexpr HRESULT E_IMG_CONVERT =
    static_cast<HRESULT>(0x80400002u);  // conversion before Resize failed
constexpr HRESULT E_IMG_LOAD =
    static_cast<HRESULT>(0x80400003u);  // file could not be opened or decoded
constexpr HRESULT E_IMG_SAVE =
    static_cast<HRESULT>(0x80400004u);  // FreeImage could not write the file
constexpr HRESULT E_IMG_CANNOT_WRITE_TYPE =
    static_cast<HRESULT>(0x80400005u);  // destination type not writable
constexpr HRESULT E_IMG_CANNOT_READ_TYPE =
    static_cast<HRESULT>(0x80400006u);  // source type not readable
constexpr HRESULT E_IMG_NOT_32BIT =
    static_cast<HRESULT>(0x80400007u);  // a step needs a 32-bit picture
constexpr HRESULT E_IMG_TOO_SMALL =
    static_cast<HRESULT>(0x80400008u);  // resize canvas of zero or negative size
