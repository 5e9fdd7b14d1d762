// Result codes in the HRESULT manner: 0 is success, a negative value is a failure.
// Callers test only the sign. Nothing is thrown across module boundaries; every
// failure travels as one of these values.
#pragma once

#include <cstdint>

using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);        // a failed item or run
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);  // refused settings or options
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

constexpr bool Failed(HRESULT hr) { return hr < 0; }
constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
