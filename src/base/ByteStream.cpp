// Buffered file streams and the atomic file replacement.
#include "base/ByteStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
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

std::span<const uint8_t> MemorySource::Next(size_t size, std::span<uint8_t>) {
  const size_t n = std::min(size, m_data.size() - m_pos);
  const std::span<const uint8_t> bytes = m_data.subspan(m_pos, n);
  m_pos += n;
  return bytes;
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
  m_fd = fd;
  m_size = static_cast<uint64_t>(info.st_size);
  m_buffer.resize(kBufferSize);
}

FileSource::~FileSource() {
  if (m_fd >= 0) ::close(m_fd);
}

void FileSource::Fill(size_t size) {
  if (m_begin > 0) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
  }
  while (!m_atEnd && m_end < size) {
    const ssize_t got = ::read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (got < 0 && errno == EINTR) continue;
    // The end of the file and a read error both end the data.
    if (got <= 0) m_atEnd = true;
    else m_end += static_cast<size_t>(got);
  }
}

size_t FileSource::Read(std::span<uint8_t> out) {
  size_t done = 0;
  while (m_fd >= 0 && done < out.size()) {
    if (m_begin == m_end) {
      if (m_atEnd) break;
      Fill(1);
      continue;
    }
    const size_t n = std::min(out.size() - done, m_end - m_begin);
    std::memcpy(out.data() + done, m_buffer.data() + m_begin, n);
    m_begin += n;
    done += n;
  }
  return done;
}

std::span<const uint8_t> FileSource::Next(size_t size, std::span<uint8_t> scratch) {
  if (size > m_buffer.size()) return scratch.first(Read(scratch.first(size)));
  if (m_end - m_begin < size) Fill(size);
  const size_t n = std::min(size, m_end - m_begin);
  const std::span<const uint8_t> bytes(m_buffer.data() + m_begin, n);
  m_begin += n;
  return bytes;
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

namespace {

// The longest file name most file systems take.
constexpr size_t kMaxNameBytes = 255;
constexpr size_t kSuffixLength = 6;
constexpr char kSuffixLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The coarse clock is the one file times are stamped from: a file written
// right after the start never looks older than the start.
timespec Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return now;
}

// Taken while the program starts, before any file is written: temporary files
// older than this belong to a process that ended without cleaning up.
const timespec kProcessStart = Now();

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Follows `path` through symbolic links to the file that is meant; a link
// that points nowhere yields the path it names (which is then created).
// Empty when the links go round in a circle.
std::filesystem::path ResolveLinks(std::filesystem::path path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 0) + 256, '\0');
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
    if (length <= 0 || static_cast<size_t>(length) >= link.size()) return {};
    link.resize(static_cast<size_t>(length));
    const std::filesystem::path next(link);
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return {};
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Writes to an open descriptor through a buffer.
class DescriptorSink final : public ByteSink {
 public:
  explicit DescriptorSink(int fd) : m_file(::fdopen(fd, "wb")) {
    if (m_file) {
      std::setvbuf(m_file, nullptr, _IOFBF, kBufferSize);
    } else {
      ::close(fd);
    }
  }
  ~DescriptorSink() override {
    if (m_file) std::fclose(m_file);
  }
  DescriptorSink(const DescriptorSink&) = delete;
  DescriptorSink& operator=(const DescriptorSink&) = delete;

  bool IsOpen() const { return m_file != nullptr; }
  bool Write(std::span<const uint8_t> bytes) override {
    if (!m_file || m_failed) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) m_failed = true;
    return !m_failed;
  }
  // Flushes the buffer and the file's data to the disk, then closes it.
  bool SyncAndClose() {
    if (!m_file) return false;
    if (std::fflush(m_file) != 0 || ::fsync(::fileno(m_file)) != 0) m_failed = true;
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
  }

 private:
  std::FILE* m_file;
  bool m_failed = false;
};

// Creates a new temporary file beside `target` (never through a link, never
// over an existing file). Returns its descriptor, or -1.
int CreateTemporary(const std::filesystem::path& target, mode_t mode, std::filesystem::path& temp) {
  const std::string prefix = TemporaryNamePrefix(target);
  const std::filesystem::path folder = FolderOf(target);
  std::random_device device;
  std::mt19937 random(device());
  std::uniform_int_distribution<size_t> pick(0, sizeof kSuffixLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix;
    for (size_t i = 0; i < kSuffixLength; ++i) name += kSuffixLetters[pick(random)];
    temp = folder / name;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return fd;
    if (errno != EEXIST) return -1;
  }
  return -1;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // some file systems cannot; the rename has happened all the same
  ::close(fd);
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kSuffixLength || name.compare(0, prefix.size(), prefix) != 0) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](char c) { return std::strchr(kSuffixLetters, c) != nullptr && c != '\0'; });
}

// Removes the temporary files of `target` that processes which ended before
// this one started left behind.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = TemporaryNamePrefix(target);
  const std::filesystem::path folder = FolderOf(target);
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return;
  for (const auto& entry : entries) {
    if (!IsTemporaryName(entry.path().filename().string(), prefix)) continue;
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (Before(info.st_mtim, kProcessStart)) ::unlink(entry.path().c_str());
  }
}

}  // namespace

std::string TemporaryNamePrefix(const std::filesystem::path& target) {
  std::string name = target.filename().string();
  const size_t room = kMaxNameBytes - kSuffixLength - 4;
  if (name.size() > room) name.resize(room);
  return name + ".tmp";
}

bool WriteFileAtomically(const std::filesystem::path& target, const std::function<bool(ByteSink&)>& write) {
  const std::filesystem::path file = ResolveLinks(target);
  if (file.empty() || !file.has_filename()) return false;

  // An existing target must be a regular file; its permission bits stay.
  mode_t mode = 0666;  // a new file: as the user's file mask allows
  bool keepMode = false;
  struct stat existing {};
  if (::stat(file.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) return false;
    mode = 0600;
    keepMode = true;
  } else if (errno != ENOENT) {
    return false;
  }

  std::filesystem::path temp;
  const int fd = CreateTemporary(file, mode, temp);
  if (fd < 0) return false;
  bool ok = true;
  if (keepMode) {
    // Root saving another user's file leaves it that user's; for anyone else
    // this fails harmlessly and the file is theirs, as any file they write.
    [[maybe_unused]] const int handedOn = ::fchown(fd, existing.st_uid, existing.st_gid);
    ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
  }
  try {
    DescriptorSink sink(fd);
    ok = sink.IsOpen() && ok && write(sink);
    ok = sink.SyncAndClose() && ok;
  } catch (...) {
    ::unlink(temp.c_str());  // a writer that throws leaves nothing behind
    throw;
  }
  if (ok) ok = ::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(FolderOf(file));
  RemoveStaleTemporaries(file);
  return true;
}

}  // namespace hp::base
