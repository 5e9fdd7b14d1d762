// Random reads of a picture file's bytes for the header readers. Every read names its
// offset and length and fails when the bytes are not all there, so a reader never trusts
// a length or offset it found in the file: a lie ends the read, it cannot overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies n bytes from `offset` into out; false when fewer are there.
  virtual bool Read(std::uint64_t offset, void* out, std::size_t n) = 0;
  virtual std::uint64_t Size() const = 0;
};

// Bytes held in memory (the fuzz targets and the tests feed these).
class MemoryBytes : public ByteSource {
 public:
  MemoryBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Read(std::uint64_t offset, void* out, std::size_t n) override;
  std::uint64_t Size() const override { return size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// An open regular file, read with pread (no shared position). A path that is not a
// regular file (a FIFO, a folder) is not opened: ok() is false.
class FileBytes : public ByteSource {
 public:
  explicit FileBytes(const std::string& path);
  ~FileBytes() override;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  bool ok() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  bool Read(std::uint64_t offset, void* out, std::size_t n) override;
  std::uint64_t Size() const override { return size_; }

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// Unsigned integers of a chosen byte order at any offset. The first short read makes ok()
// false for good and every later read answers 0, so a reader checks once at its end.
class HeaderReader {
 public:
  HeaderReader(ByteSource& source, bool bigEndian) : source_(source), big_(bigEndian) {}
  void SetBigEndian(bool big) { big_ = big; }
  bool ok() const { return ok_; }
  std::uint64_t Size() const { return source_.Size(); }

  // `bytes` from 1 to 8.
  std::uint64_t Uint(std::uint64_t offset, int bytes);
  std::uint32_t U8(std::uint64_t offset) { return static_cast<std::uint32_t>(Uint(offset, 1)); }
  std::uint32_t U16(std::uint64_t offset) { return static_cast<std::uint32_t>(Uint(offset, 2)); }
  std::uint32_t U32(std::uint64_t offset) { return static_cast<std::uint32_t>(Uint(offset, 4)); }
  // Whether the bytes at offset are `text` (a short read counts as no).
  bool Matches(std::uint64_t offset, const char* text);

 private:
  ByteSource& source_;
  bool big_;
  bool ok_ = true;
};
