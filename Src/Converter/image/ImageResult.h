// Result codes of the image pipeline.
#pragma once

#include <string>
#include <string_view>

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
constexpr HRESULT E_IMG_TRUNCATED =
    static_cast<HRESULT>(0x80400009u);  // the file ends before the picture's data does
constexpr HRESULT E_IMG_CORRUPT =
    static_cast<HRESULT>(0x8040000Au);  // the decoder found damaged data in the file

// Why a load failed, for codes that say more than "it failed": "the file is truncated" or
// "the file is damaged"; empty for every other code.
std::string_view LoadFailureReason(HRESULT code);
// The log text of a page whose load failed: "Failed to load image <source>", followed by
// ": " and the reason when the code gives one.
std::string LoadFailureText(const std::string& source, HRESULT code);
