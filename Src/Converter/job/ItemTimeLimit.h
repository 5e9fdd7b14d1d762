// How long one page may take in a worker before the worker is stopped and the page fails.
// The user gives a base of `seconds` (the -timeout option; 0: no limit). A page may take
// that base once, plus the base again for every 32 MiB of its file and for every
// 16 megapixels of the picture once it is loaded (before the load only the file's size is
// known). So with the default 60 s, a 6 MB photo of 24 megapixels may take 60 x (1 + 0.19
// + 1.5) = 161 s, and a one-pixel page 60 s.
#pragma once

#include <cstdint>

// The limit in milliseconds for a page of a `fileBytes` file whose loaded picture has
// `pixels` pixels (0 while unknown); -1 when `seconds` is 0 or less (no limit).
std::int64_t ItemTimeLimitMs(int seconds, std::uint64_t fileBytes, std::int64_t pixels);
