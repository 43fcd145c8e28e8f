// Reading the lines of an import text file. Files are Windows-1252 text as
// the program has always read them; a file that is valid UTF-8 (with or
// without a byte-order mark) and holds non-ASCII characters is read as UTF-8,
// and a file that starts with a UTF-16 byte-order mark (either byte order) as
// UTF-16; both are converted, characters outside Windows-1252 becoming "?".
// Lines end at a line feed; carriage returns before it are removed; lines of
// any length are read whole. TextLines reads a file one line at a time, so a
// reader that goes line by line never holds the whole text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteStream.h"

namespace hp::imports {

enum class TextEncoding { Cp1252, Utf8, Utf16LE, Utf16BE };

// A sequence of lines in Windows-1252, read one at a time.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line into `line`; false at the end.
  virtual bool Next(std::string& line) = 0;
};

// The lines of a list, for tests and callers that hold the text already.
class LineList final : public LineSource {
 public:
  // The lines from index `first` on.
  explicit LineList(const std::vector<std::string>& lines, size_t first = 0) : m_lines(lines), m_next(first) {}
  bool Next(std::string& line) override;

 private:
  const std::vector<std::string>& m_lines;
  size_t m_next;
};

// Reads the encoding of a text from at most `limit` bytes of `source` (the
// whole text is read when it has no UTF-16 byte-order mark).
TextEncoding DetectTextEncoding(base::ByteSource& source, uint64_t limit);

// The lines of at most `limit` bytes of `source` in `encoding`; a byte-order
// mark at the start is skipped.
class TextLines final : public LineSource {
 public:
  TextLines(base::ByteSource& source, TextEncoding encoding, uint64_t limit);
  bool Next(std::string& line) override;

 private:
  bool Fill();
  bool NextByteLine(std::string& line);
  bool NextUtf16Line(std::string& line);

  base::ByteSource& m_source;
  TextEncoding m_encoding;
  uint64_t m_left;
  std::vector<uint8_t> m_buffer;
  size_t m_pos = 0;
  size_t m_end = 0;
  bool m_started = false;
};

// The lines of a text given as bytes, in Windows-1252.
std::vector<std::string> SplitTextLines(std::string_view bytes);

}  // namespace hp::imports
