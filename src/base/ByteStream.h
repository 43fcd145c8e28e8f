// Sequential byte sources and sinks: files read and written through a
// buffer, and memory for tests and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace hp::base {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `out.size()` bytes; fewer only at the end of the data (or on
  // a read error). Returns the number read.
  virtual size_t Read(std::span<uint8_t> out) = 0;
  // The next `size` bytes (fewer only at the end of the data), where the
  // source can without copying them: the span is valid until the next call.
  // Other sources read them into `scratch`, which holds at least `size`.
  virtual std::span<const uint8_t> Next(size_t size, std::span<uint8_t> scratch) {
    return scratch.first(Read(scratch.first(size)));
  }
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the bytes could not be written.
  virtual bool Write(std::span<const uint8_t> bytes) = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> data) : m_data(data) {}
  size_t Read(std::span<uint8_t> out) override;
  std::span<const uint8_t> Next(size_t size, std::span<uint8_t> scratch) override;

 private:
  std::span<const uint8_t> m_data;
  size_t m_pos = 0;
};

class MemorySink final : public ByteSink {
 public:
  bool Write(std::span<const uint8_t> bytes) override {
    data.insert(data.end(), bytes.begin(), bytes.end());
    return true;
  }
  std::vector<uint8_t> data;
};

// Reads a regular file through a buffer of its own, from which Next hands
// out the bytes in place. Anything else (a FIFO, a device, a folder) is not
// opened, so a reader never blocks on a pipe or reads an endless device.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::filesystem::path& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  bool IsOpen() const { return m_fd >= 0; }
  // The file's size when it was opened (0 when it is not open).
  uint64_t Size() const { return m_size; }
  size_t Read(std::span<uint8_t> out) override;
  std::span<const uint8_t> Next(size_t size, std::span<uint8_t> scratch) override;

 private:
  // Moves what is left to the buffer's front and reads until at least
  // `size` bytes are there or the file ends.
  void Fill(size_t size);

  int m_fd = -1;
  uint64_t m_size = 0;
  std::vector<uint8_t> m_buffer;
  size_t m_begin = 0, m_end = 0;  // the buffered bytes not yet handed out
  bool m_atEnd = false;
};

// Writes a file through a buffer; Close reports whether everything reached
// the file.
class FileSink final : public ByteSink {
 public:
  explicit FileSink(const std::filesystem::path& path);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  bool IsOpen() const { return m_file != nullptr; }
  bool Write(std::span<const uint8_t> bytes) override;
  bool Close();

 private:
  std::FILE* m_file = nullptr;
  bool m_failed = false;
};

// Writes a file by way of a temporary file beside it, renamed over the target
// only when the whole content was written and flushed to the disk, so a failed
// write or a crash never destroys the previous file. `write` returns false to
// abandon the file.
//
// A symbolic link as target stands for the file it points to: that file is
// replaced and the link stays. A target that exists but is not a regular file
// (a folder, a FIFO, a device) is refused. An existing file keeps its
// permission bits. After a successful write, temporary files of this target
// that a process killed earlier left behind are removed.
bool WriteFileAtomically(const std::filesystem::path& target, const std::function<bool(ByteSink&)>& write);

// The name of the temporary file beside `target` starts with this prefix,
// followed by six letters or digits; the whole name stays within 255 bytes.
std::string TemporaryNamePrefix(const std::filesystem::path& target);

}  // namespace hp::base
