// Whether this build runs under AddressSanitizer: its allocator inflates resident memory, and
// its own handlers take the faults a test would otherwise see.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define BM_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BM_TEST_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef BM_TEST_ADDRESS_SANITIZER
inline constexpr bool kUnderAddressSanitizer = true;
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif
