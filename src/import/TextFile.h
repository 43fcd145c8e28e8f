// Reading the lines of an import text file. Files are Windows-1252 text as
// the program has always read them; a file that is UTF-8 (with or without a
// byte-order mark) and holds non-ASCII characters is read as UTF-8, also when
// a few of its bytes are malformed, and a file that starts with a UTF-16
// byte-order mark (either byte order) as UTF-16; both are converted,
// malformed bytes and characters outside Windows-1252 becoming "?" (each
// line says what it lost). Lines end at a line feed; in a file whose first
// line ends with a lone carriage return (classic Mac) also at a carriage
// return, with or without a line feed after it. Carriage returns at a line's
// end are removed; elsewhere they stay; lines of any length are read whole.
// TextLines reads a file one line at a time, so a reader that goes line by
// line never holds the whole text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteStream.h"

namespace hp::imports {

enum class TextEncoding { Cp1252, Utf8, Utf16LE, Utf16BE };

// What the conversion of one line to Windows-1252 replaced by "?".
struct LineConversion {
  size_t malformedBytes = 0;  // bytes of no well-formed UTF-8 sequence
  size_t unmapped = 0;        // characters Windows-1252 does not have
  std::string original;       // the line as UTF-8 (malformed bytes as "?") when anything was replaced
};

// A sequence of lines in Windows-1252, read one at a time.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line into `line`; false at the end.
  virtual bool Next(std::string& line) = 0;
  // What the conversion replaced in the line read last; null when nothing.
  virtual const LineConversion* Replaced() const { return nullptr; }
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

// How a text is written, as far as reading its lines needs to know.
struct TextLayout {
  TextEncoding encoding = TextEncoding::Cp1252;
  bool returnLineEnds = false;  // lines end at a lone carriage return
  // Zero bytes in a text without UTF-16 byte-order mark: UTF-16 or UTF-32
  // without one, or no text at all.
  bool zeroBytes = false;
};

// Reads the layout of a text from at most `limit` bytes of `source` (the
// whole text is read when it has no UTF-16 byte-order mark). UTF-8 is chosen
// when its well-formed multi-byte sequences are at least twice as many as
// its malformed bytes: a Windows-1252 text almost never holds a well-formed
// sequence, while a UTF-8 text damaged in a few places keeps most of them.
TextLayout DetectTextLayout(base::ByteSource& source, uint64_t limit);

// The lines of at most `limit` bytes of `source` in `layout`; a byte-order
// mark at the start is skipped.
class TextLines final : public LineSource {
 public:
  TextLines(base::ByteSource& source, const TextLayout& layout, uint64_t limit);
  bool Next(std::string& line) override;
  const LineConversion* Replaced() const override;

 private:
  bool Fill();
  bool NextByteLine(std::string& line);
  bool NextUtf16Line(std::string& line);

  base::ByteSource& m_source;
  TextLayout m_layout;
  uint64_t m_left;
  LineConversion m_conversion;
  std::vector<uint8_t> m_buffer;
  size_t m_pos = 0;
  size_t m_end = 0;
  bool m_started = false;
  bool m_afterReturn = false;  // the last line ended with a carriage return
};

// A UTF-8 line in Windows-1252; `replaced` counts what became "?" and keeps
// the line when anything did.
std::string ConvertUtf8Line(std::string_view text, LineConversion& replaced);

// The lines of a text given as bytes, in Windows-1252.
std::vector<std::string> SplitTextLines(std::string_view bytes);

}  // namespace hp::imports
