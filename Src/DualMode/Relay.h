// One relay thread: copies what the child writes into one FIFO to one of the launcher's
// own streams, in chunks of at most 1024 bytes written by count, until end of file.
// End of file counts only once a writer has connected; a relay whose writer never came
// ends when the shared stop flag is raised.
#pragma once

#include <atomic>
#include <thread>

class Relay {
 public:
  Relay(int fifoFd, int outputFd, const std::atomic<bool>& stop)
      : fifoFd_(fifoFd), outputFd_(outputFd), stop_(stop) {}
  Relay(const Relay&) = delete;
  Relay& operator=(const Relay&) = delete;
  ~Relay() { Join(); }

  bool Start();  // false when the thread could not be started
  void Join();

  bool finished() const { return finished_.load(); }
  bool writeFailed() const { return writeFailed_.load(); }

 private:
  void Run();
  bool WaitReadable();  // false when the relay is to end without reading
  void Write(const char* data, std::size_t size);

  int fifoFd_;
  int outputFd_;
  const std::atomic<bool>& stop_;
  bool connected_ = false;  // touched by the relay thread only
  std::atomic<bool> finished_{false};
  std::atomic<bool> writeFailed_{false};
  std::thread thread_;
};
