// One relay thread: copies what the child writes into one FIFO to one of the launcher's
// own streams, in chunks of at most 1024 bytes written by count, until end of file.
// End of file counts only once a writer has connected. Once the shared StopSignal is
// raised, a relay whose writer never came ends at once, and a connected one ends as soon
// as its FIFO holds nothing more to read (a descendant of the child may keep a writer
// open for ever; what was written is still relayed whole).
#pragma once

#include <atomic>
#include <thread>

// A flag that wakes the relays waiting in poll: raising it makes its descriptor readable.
class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  bool ok() const { return fds_[0] >= 0; }
  void Raise();
  int fd() const { return fds_[0]; }

 private:
  int fds_[2] = {-1, -1};
};

class Relay {
 public:
  Relay(int fifoFd, int outputFd, const StopSignal& stop)
      : fifoFd_(fifoFd), outputFd_(outputFd), stop_(stop) {}
  Relay(const Relay&) = delete;
  Relay& operator=(const Relay&) = delete;
  ~Relay() { Join(); }

  bool Start();  // false when the thread could not be started
  void Join();

  bool connected() const { return connected_.load(); }
  bool finished() const { return finished_.load(); }
  bool writeFailed() const { return writeFailed_.load(); }

 private:
  void Run();
  bool WaitReadable();  // false when the relay is to end without reading
  void Write(const char* data, std::size_t size);

  int fifoFd_;
  int outputFd_;
  const StopSignal& stop_;
  std::atomic<bool> connected_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> writeFailed_{false};
  std::thread thread_;
};
