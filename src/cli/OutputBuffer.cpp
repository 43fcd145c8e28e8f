// Writing standard output to its file descriptor.
#include "cli/OutputBuffer.h"

#include <unistd.h>

#include <cerrno>

namespace hp::cli {
namespace {

constexpr const char* kCannotWriteOutput = "Die Ausgabe konnte nicht vollständig geschrieben werden.";

std::string ReasonOf(int error) {
  switch (error) {
    case ENOSPC: return "Auf dem Datenträger ist kein Platz mehr.";
    case EDQUOT: return "Das Speicherkontingent auf dem Datenträger ist erschöpft.";
    case EFBIG: return "Die Datei hat ihre größte zulässige Länge erreicht.";
    case EBADF: return "Die Standardausgabe ist nicht zum Schreiben geöffnet.";
    case EIO: return "Das Gerät meldet einen Ein-/Ausgabefehler.";
    default: return "Fehlernummer " + std::to_string(error) + ".";
  }
}

}  // namespace

OutputBuffer::OutputBuffer(int fd) : m_fd(fd) { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }

OutputBuffer::~OutputBuffer() { Drain(); }

bool OutputBuffer::Drain() {
  const char* from = pbase();
  const char* const end = pptr();
  while (from < end && m_error == 0 && !m_readerQuit) {
    const ssize_t written = ::write(m_fd, from, static_cast<size_t>(end - from));
    if (written >= 0) {
      from += written;
    } else if (errno == EPIPE) {
      m_readerQuit = true;
    } else if (errno != EINTR) {
      m_error = errno;
    }
  }
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  return m_error == 0;
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int OutputBuffer::sync() { return Drain() ? 0 : -1; }

std::string OutputFailureText(const std::ostream& out) {
  const auto* buffer = dynamic_cast<const OutputBuffer*>(out.rdbuf());
  if (buffer == nullptr || buffer->error() == 0) return kCannotWriteOutput;
  return std::string(kCannotWriteOutput) + "\n" + ReasonOf(buffer->error());
}

}  // namespace hp::cli
