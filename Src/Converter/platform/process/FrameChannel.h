// Whole messages over a pipe: each frame is a 4-byte little-endian length followed by that
// many bytes. A frame is written with as few writes as the pipe allows and read whole, so
// a reader sees either a complete frame or the end of the pipe (its writer died or closed
// it). Frames longer than kMaxFrameBytes are refused on both sides, so a confused or
// hostile peer cannot make the reader allocate without bound.
#pragma once

#include <string>

constexpr std::size_t kMaxFrameBytes = std::size_t{1} << 24;

// False when the pipe is closed or broken (never raises SIGPIPE's default action if the
// process ignores it; see IgnoreBrokenPipe).
bool WriteFrame(int fd, const std::string& payload);
// Blocks until a whole frame has arrived. False at the end of the pipe, on an error, or on
// a frame longer than the limit.
bool ReadFrame(int fd, std::string& payload);
// Waits until one of `fds` can be read or has been closed, for at most `timeoutMs`
// milliseconds (-1: no limit). Returns the index of the first ready descriptor, or -1 on
// timeout. Interrupted waits count as a timeout, so a caller re-checks its flags.
int WaitReadable(const int* fds, int count, int timeoutMs);
