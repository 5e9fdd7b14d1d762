#include "image/header/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool MemoryBytes::Read(std::uint64_t offset, void* out, std::size_t n) {
  if (offset > size_ || n > size_ - offset) return false;
  std::memcpy(out, data_ + offset, n);
  return true;
}

FileBytes::FileBytes(const std::string& path) {
  // Non-blocking, so that a FIFO named like a picture cannot stall the open.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return;
  }
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(info.st_size);
}

FileBytes::~FileBytes() {
  if (fd_ >= 0) close(fd_);
}

bool FileBytes::Read(std::uint64_t offset, void* out, std::size_t n) {
  if (fd_ < 0 || offset > size_ || n > size_ - offset) return false;
  auto* bytes = static_cast<char*>(out);
  while (n > 0) {
    const ssize_t got = pread(fd_, bytes, n, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    offset += static_cast<std::uint64_t>(got);
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

std::uint64_t HeaderReader::Uint(std::uint64_t offset, int bytes) {
  unsigned char b[8] = {};
  if (!ok_ || bytes < 1 || bytes > 8 || !source_.Read(offset, b, static_cast<std::size_t>(bytes))) {
    ok_ = false;
    return 0;
  }
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    const int at = big_ ? i : bytes - 1 - i;
    v = v << 8 | b[at];
  }
  return v;
}

bool HeaderReader::Matches(std::uint64_t offset, const char* text) {
  const std::size_t n = std::strlen(text);
  char b[16] = {};
  return n <= sizeof b && source_.Read(offset, b, n) && std::memcmp(b, text, n) == 0;
}
