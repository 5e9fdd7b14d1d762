#include "Relay.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

constexpr std::size_t kChunkBytes = 1024;

}  // namespace

StopSignal::StopSignal() {
  if (pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
}

StopSignal::~StopSignal() {
  for (int fd : fds_)
    if (fd >= 0) close(fd);
}

// The byte is never read: the read end stays readable from now on.
void StopSignal::Raise() {
  if (fds_[1] >= 0) (void)!write(fds_[1], "s", 1);
}

bool Relay::Start() {
  try {
    thread_ = std::thread(&Relay::Run, this);
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void Relay::Join() {
  if (thread_.joinable()) thread_.join();
}

// On Linux a FIFO read end reports neither data nor hang-up before its first writer
// has opened it, so waiting in poll stands for waiting for the connection.
bool Relay::WaitReadable() {
  for (;;) {
    pollfd p[2] = {{fifoFd_, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
    const bool stopped = stop_.fd() < 0 || poll(&p[1], 1, 0) > 0;
    // After the stop, only what the FIFO holds now is still read.
    const int ready = poll(p, stopped ? 1 : 2, stopped ? 0 : -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return false;
    if (p[0].revents != 0) {
      connected_.store(true);
      return true;
    }
    if (stopped) return false;
    // Otherwise the stop was raised while waiting: look once more, without waiting.
  }
}

void Relay::Run() {
  char chunk[kChunkBytes];
  while (WaitReadable()) {
    const ssize_t n = read(fifoFd_, chunk, sizeof chunk);
    if (n == 0) break;  // every writer has closed its end
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      break;
    }
    Write(chunk, static_cast<std::size_t>(n));
    sched_yield();
  }
  finished_.store(true);
}

// A failed write is noted and the chunk dropped; relaying goes on so the child never
// blocks on a full FIFO.
void Relay::Write(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(outputFd_, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {  // an inherited non-blocking stream: wait for room
      pollfd p{outputFd_, POLLOUT, 0};
      if (poll(&p, 1, -1) >= 0 || errno == EINTR) continue;
    }
    if (n <= 0) {
      writeFailed_.store(true);
      return;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}
