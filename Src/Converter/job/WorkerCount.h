// The budget of a run: how many worker processes it uses and how much memory each may
// take. An explicit count is taken as given (up to a fixed ceiling); the automatic count is
// the processors this process may use (affinity and the control group's CPU quota), bounded
// by memory: a worker is allowed only for every kWorkerMemoryBytes of the memory that is
// usable (what the system reports available, less when the control group's limit leaves
// less). Each worker may then allocate its share of that memory, never less than
// kWorkerMemoryBytes and never more than kWorkerMemoryCeiling, so that a picture that would
// take more fails alone instead of the whole run (or the machine) being brought down.
#pragma once

#include <cstdint>

#include "image/codec/PictureMemory.h"

// Memory set aside for one worker: a 24-megapixel photo at 32 bits per pixel with its
// resampled copy and the encoder's buffers, rounded up.
constexpr std::int64_t kWorkerMemoryBytes = std::int64_t{512} << 20;
// The most one worker may allocate: the largest picture the program makes (kMaxPictureBytes)
// twice over, for the source beside its transformed copy, and room for the decoder's and
// encoder's own buffers.
constexpr std::int64_t kWorkerMemoryCeiling = 2 * kMaxPictureBytes + (std::int64_t{512} << 20);
// No run uses more workers than this.
constexpr int kMaxWorkers = 64;

struct RunBudget {
  int workers = 1;
  std::int64_t workerMemoryBytes = 0;  // each worker's cap; 0: none
};

// `requested` 1 or more: that many, at most kMaxWorkers. 0 or less: the automatic count
// for `processors` and `usableBytes` (always at least 1).
int WorkerCount(int requested, int processors, std::int64_t usableBytes);
// The budget for `requested` workers with `processors` and `usableBytes` (0: unknown,
// then no memory cap).
RunBudget BudgetFor(int requested, int processors, std::int64_t usableBytes);
// The same with this machine's (and control group's) processors and memory.
RunBudget BudgetFor(int requested);
