// Standard output of the batch tool: a buffer over a file descriptor that
// keeps the reason of a failed write and treats a reader that quit (a pipe
// into `head`) as the end of the output, not as a failure.
#pragma once

#include <array>
#include <ostream>
#include <streambuf>
#include <string>

namespace hp::cli {

class OutputBuffer final : public std::streambuf {
 public:
  explicit OutputBuffer(int fd);
  ~OutputBuffer() override;
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // The errno of the first failed write, 0 while none failed. A reader that
  // quit is no failure: what follows is dropped.
  int error() const { return m_error; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Drain();

  int m_fd;
  int m_error = 0;
  bool m_readerQuit = false;
  std::array<char, 1 << 16> m_buffer;
};

// The message for output that `out` could not take whole: the German text
// with the reason when `out` writes through an OutputBuffer.
std::string OutputFailureText(const std::ostream& out);

}  // namespace hp::cli
