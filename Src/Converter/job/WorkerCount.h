// How many workers a parallel run uses. An explicit count is taken as given (up to a
// fixed ceiling); the automatic count is the processors this process may run on, bounded
// by a memory budget: each worker holds one picture in flight, and a worker is allowed
// only for every kWorkerMemoryBytes of memory the system reports as available.
#pragma once

#include <cstdint>

// Memory set aside for one worker: a 24-megapixel photo at 32 bits per pixel with its
// resampled copy and the encoder's buffers, rounded up.
constexpr std::int64_t kWorkerMemoryBytes = std::int64_t{512} << 20;
// No run uses more workers than this.
constexpr int kMaxWorkers = 64;

// `requested` 1 or more: that many, at most kMaxWorkers. 0 or less: the automatic count
// for `processors` and `availableBytes` (always at least 1).
int WorkerCount(int requested, int processors, std::int64_t availableBytes);
// The same with this machine's processors and available memory.
int WorkerCount(int requested);
