// Buffered file streams and the atomic file replacement.
#include "base/ByteStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

namespace hp::base {

namespace {
constexpr size_t kBufferSize = 1 << 20;
}

size_t MemorySource::Read(std::span<uint8_t> out) {
  const size_t n = std::min(out.size(), m_data.size() - m_pos);
  if (n) std::memcpy(out.data(), m_data.data() + m_pos, n);
  m_pos += n;
  return n;
}

FileSource::FileSource(const std::filesystem::path& path) {
  // Opening without blocking keeps a FIFO without a writer from hanging the
  // open itself; the type is then checked on the open descriptor.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  m_file = ::fdopen(fd, "rb");
  if (!m_file) {
    ::close(fd);
    return;
  }
  m_size = static_cast<uint64_t>(info.st_size);
  std::setvbuf(m_file, nullptr, _IOFBF, kBufferSize);
}

FileSource::~FileSource() {
  if (m_file) std::fclose(m_file);
}

size_t FileSource::Read(std::span<uint8_t> out) {
  if (!m_file || out.empty()) return 0;
  return std::fread(out.data(), 1, out.size(), m_file);
}

FileSink::FileSink(const std::filesystem::path& path) {
  m_file = std::fopen(path.c_str(), "wb");
  if (m_file) std::setvbuf(m_file, nullptr, _IOFBF, kBufferSize);
}

FileSink::~FileSink() { Close(); }

bool FileSink::Write(std::span<const uint8_t> bytes) {
  if (!m_file || m_failed) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
    m_failed = true;
  }
  return !m_failed;
}

bool FileSink::Close() {
  if (!m_file) return false;
  if (std::fflush(m_file) != 0) m_failed = true;
  if (std::fclose(m_file) != 0) m_failed = true;
  m_file = nullptr;
  return !m_failed;
}

bool WriteFileAtomically(const std::filesystem::path& target,
                         const std::function<bool(ByteSink&)>& write) {
  std::random_device random;
  std::filesystem::path temp = target;
  temp += ".tmp" + std::to_string(random() % 1000000);
  bool ok = false;
  {
    FileSink sink(temp);
    if (!sink.IsOpen()) return false;
    ok = write(sink);
    ok = sink.Close() && ok;
  }
  std::error_code error;
  if (ok) {
    std::filesystem::rename(temp, target, error);
    ok = !error;
  }
  if (!ok) std::filesystem::remove(temp, error);
  return ok;
}

}  // namespace hp::base
