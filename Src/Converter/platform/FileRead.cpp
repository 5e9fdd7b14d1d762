#include "platform/FileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace {

bool ReadAll(int fd, std::vector<std::uint8_t>& out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = read(fd, out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // an error, or the file shrank while it was read
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out) {
  out.clear();
  // Non-blocking, so that a FIFO with the right name cannot stall the open; fstat then
  // refuses it.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
            static_cast<std::uint64_t>(info.st_size) <= maxBytes;
  if (ok) {
    try {
      out.resize(static_cast<std::size_t>(info.st_size));
      ok = ReadAll(fd, out);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  close(fd);
  if (!ok) out.clear();
  return ok;
}
