#include "platform/process/FrameChannel.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/ByteCodes.h"

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = read(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool WriteFrame(int fd, const std::string& payload) {
  if (payload.size() > kMaxFrameBytes) return false;
  std::string frame(4, '\0');
  WriteLE32(reinterpret_cast<std::uint8_t*>(frame.data()),
            static_cast<std::uint32_t>(payload.size()));
  frame += payload;  // one write for the usual small frame
  return WriteAll(fd, frame.data(), frame.size());
}

bool ReadFrame(int fd, std::string& payload) {
  std::uint8_t length[4];
  if (!ReadAll(fd, reinterpret_cast<char*>(length), 4)) return false;
  const std::uint32_t size = ReadLE32(length);
  if (size > kMaxFrameBytes) return false;
  payload.resize(size);
  return ReadAll(fd, payload.data(), size);
}

int WaitReadable(const int* fds, int count, int timeoutMs) {
  std::vector<pollfd> polled(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) polled[i] = {fds[i], POLLIN, 0};
  if (poll(polled.data(), polled.size(), timeoutMs) <= 0) return -1;
  for (int i = 0; i < count; ++i)
    if (polled[i].revents != 0) return i;
  return -1;
}
