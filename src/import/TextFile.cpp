// Import text files: encoding and lines.
#include "import/TextFile.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <utility>

#include "base/Cp1252.h"

namespace hp::imports {
namespace {

constexpr size_t kChunk = 1 << 16;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

constexpr int kIncomplete = -1;

// The length of the well-formed UTF-8 sequence at `pos`, its code point in
// `cp`; 0 when the bytes there are malformed, kIncomplete when the text ends
// inside a sequence that is well-formed so far.
int SequenceAt(std::string_view text, size_t pos, char32_t& cp) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  int length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, cp = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, cp = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, cp = lead & 0x07;
  else return 0;
  if (lead == 0xE0) low = 0xA0;        // no overlong forms
  else if (lead == 0xED) high = 0x9F;  // no surrogates
  else if (lead == 0xF0) low = 0x90;
  else if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  for (int i = 1; i < length; ++i) {
    if (pos + i >= text.size()) return kIncomplete;
    const unsigned char b = byte(pos + i);
    if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  return length;
}

// Counts the well-formed multi-byte sequences and the malformed bytes of a
// text read in chunks; a sequence cut by a chunk's end waits for the next.
class Utf8Census {
 public:
  void Add(std::string_view chunk) {
    m_pending.append(chunk);
    Count(false);
  }
  void Finish() { Count(true); }
  size_t sequences = 0;
  size_t malformed = 0;

 private:
  void Count(bool last) {
    size_t pos = 0;
    char32_t cp = 0;
    while (pos < m_pending.size()) {
      if (static_cast<unsigned char>(m_pending[pos]) < 0x80) {
        ++pos;
        continue;
      }
      const int length = SequenceAt(m_pending, pos, cp);
      if (length == kIncomplete && !last) break;
      if (length <= 0) {
        ++malformed, ++pos;
        continue;
      }
      if (length > 1) ++sequences;
      pos += static_cast<size_t>(length);
    }
    m_pending.erase(0, pos);
  }
  std::string m_pending;
};

// Whether the first line of a text ends with a lone carriage return: the
// first line end decides for the whole text. `unit` is the size of one
// character (1, or 2 for UTF-16), `bigEndian` its byte order.
bool FirstLineEndsWithReturn(std::span<const uint8_t> text, size_t unit, bool bigEndian) {
  const auto at = [&](size_t i) -> char32_t {
    if (unit == 1) return text[i];
    return bigEndian ? static_cast<char32_t>((text[i] << 8) | text[i + 1])
                     : static_cast<char32_t>(text[i] | (text[i + 1] << 8));
  };
  for (size_t i = 0; i + unit <= text.size(); i += unit) {
    const char32_t c = at(i);
    if (c == U'\n') return false;
    if (c == U'\r') return i + 2 * unit <= text.size() && at(i + unit) != U'\n';
  }
  return false;
}

size_t ReadSome(base::ByteSource& source, std::span<uint8_t> out, uint64_t& left) {
  const size_t want = static_cast<size_t>(std::min<uint64_t>(out.size(), left));
  const size_t got = want ? source.Read(out.first(want)) : 0;
  left -= got;
  return got;
}

}  // namespace

bool LineList::Next(std::string& line) {
  if (m_next >= m_lines.size()) return false;
  line = m_lines[m_next++];
  return true;
}

TextLayout DetectTextLayout(base::ByteSource& source, uint64_t limit) {
  TextLayout layout;
  std::vector<uint8_t> chunk(kChunk);
  size_t got = ReadSome(source, chunk, limit);
  const std::span<const uint8_t> first(chunk.data(), got);
  if (got >= 2 && ((chunk[0] == 0xFF && chunk[1] == 0xFE) || (chunk[0] == 0xFE && chunk[1] == 0xFF))) {
    const bool bigEndian = chunk[0] == 0xFE;
    layout.encoding = bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
    layout.returnLineEnds = FirstLineEndsWithReturn(first.subspan(2), 2, bigEndian);
    return layout;
  }
  const bool bom = std::string_view(reinterpret_cast<const char*>(chunk.data()), got).starts_with(kUtf8Bom);
  layout.returnLineEnds = FirstLineEndsWithReturn(first, 1, false);
  Utf8Census census;
  while (got > 0) {
    const std::string_view bytes(reinterpret_cast<const char*>(chunk.data()), got);
    layout.zeroBytes = layout.zeroBytes || bytes.find('\0') != std::string_view::npos;
    census.Add(bytes);
    got = ReadSome(source, chunk, limit);
  }
  census.Finish();
  if ((bom || census.sequences > 0) && 2 * census.malformed <= census.sequences) layout.encoding = TextEncoding::Utf8;
  return layout;
}

std::string ConvertUtf8Line(std::string_view text, LineConversion& replaced) {
  replaced = {};
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    const int length = SequenceAt(text, pos, cp);
    if (length <= 0) {
      ++replaced.malformedBytes;
      out.push_back('?');
      ++pos;
      continue;
    }
    const char byte = cp == 0 ? '\0' : base::UnicodeToCp1252(cp, '\0');
    if (byte == '\0' && cp != 0) ++replaced.unmapped;
    out.push_back(byte == '\0' && cp != 0 ? '?' : byte);
    pos += static_cast<size_t>(length);
  }
  if (replaced.malformedBytes > 0 || replaced.unmapped > 0) {
    // The line as it was, for messages that name what was lost.
    replaced.original.reserve(text.size());
    for (pos = 0; pos < text.size();) {
      char32_t cp = 0;
      const int length = SequenceAt(text, pos, cp);
      if (length <= 0) {
        replaced.original.push_back('?');
        ++pos;
      } else {
        replaced.original.append(text.substr(pos, static_cast<size_t>(length)));
        pos += static_cast<size_t>(length);
      }
    }
  }
  return out;
}

TextLines::TextLines(base::ByteSource& source, const TextLayout& layout, uint64_t limit)
    : m_source(source), m_layout(layout), m_left(limit), m_buffer(kChunk) {}

bool TextLines::Fill() {
  if (m_pos < m_end) return true;
  m_pos = 0;
  m_end = ReadSome(m_source, m_buffer, m_left);
  return m_end > 0;
}

const LineConversion* TextLines::Replaced() const {
  return m_conversion.malformedBytes > 0 || m_conversion.unmapped > 0 ? &m_conversion : nullptr;
}

bool TextLines::Next(std::string& line) {
  line.clear();
  m_conversion = {};
  const TextEncoding encoding = m_layout.encoding;
  const bool utf16 = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
  const bool first = !m_started;
  m_started = true;
  if (first && utf16) {
    for (size_t i = 0; i < 2 && Fill(); ++i) ++m_pos;  // the byte-order mark
  }
  if (!(utf16 ? NextUtf16Line(line) : NextByteLine(line))) return false;
  // A UTF-8 byte-order mark is no text, also in a file not read as UTF-8.
  if (first && !utf16 && line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
  while (!line.empty() && line.back() == '\r') line.pop_back();
  if ((encoding != TextEncoding::Cp1252) && HasNonAscii(line)) line = ConvertUtf8Line(line, m_conversion);
  return true;
}

bool TextLines::NextByteLine(std::string& line) {
  // After a carriage return that ended a line, a line feed belongs to it.
  if (m_afterReturn && Fill() && m_buffer[m_pos] == '\n') ++m_pos;
  m_afterReturn = false;
  const bool anyEnd = m_layout.returnLineEnds;
  bool any = false;
  while (Fill()) {
    any = true;
    const auto* begin = m_buffer.data() + m_pos;
    const auto* stop = m_buffer.data() + m_end;
    const auto* found = anyEnd ? std::find_if(begin, stop, [](uint8_t c) { return c == '\r' || c == '\n'; })
                               : static_cast<const uint8_t*>(std::memchr(begin, '\n', m_end - m_pos));
    if (found == stop) found = nullptr;
    const size_t length = found ? static_cast<size_t>(found - begin) : m_end - m_pos;
    line.append(reinterpret_cast<const char*>(begin), length);
    m_pos += length;
    if (found) {
      m_afterReturn = *found == '\r';
      ++m_pos;
      return true;
    }
  }
  return any;
}

bool TextLines::NextUtf16Line(std::string& line) {
  // The line is gathered as UTF-8 and converted like a UTF-8 file's.
  const bool anyEnd = m_layout.returnLineEnds;
  bool any = false;
  bool afterReturn = std::exchange(m_afterReturn, false);
  char32_t highSurrogate = 0;
  for (;;) {
    uint8_t unit[2];
    size_t have = 0;
    while (have < 2 && Fill()) unit[have++] = m_buffer[m_pos++];
    if (have < 2) break;  // an odd last byte ends the text
    const char32_t code = m_layout.encoding == TextEncoding::Utf16LE ? static_cast<char32_t>(unit[0] | (unit[1] << 8))
                                                                     : static_cast<char32_t>((unit[0] << 8) | unit[1]);
    const bool high = code >= 0xD800 && code <= 0xDBFF;
    const bool low = code >= 0xDC00 && code <= 0xDFFF;
    if (afterReturn && code == U'\n') {
      afterReturn = false;
      continue;
    }
    afterReturn = false;
    any = true;
    if (highSurrogate != 0 && !low) base::AppendUtf8(line, 0xFFFD);  // a lone high surrogate
    if (code == U'\n' || (anyEnd && code == U'\r')) {
      m_afterReturn = code == U'\r';
      return true;
    }
    if (low) {
      base::AppendUtf8(line,
                       highSurrogate != 0 ? 0x10000 + ((highSurrogate - 0xD800) << 10) + (code - 0xDC00) : 0xFFFD);
    } else if (!high) {
      base::AppendUtf8(line, code);
    }
    highSurrogate = high ? code : 0;
  }
  if (highSurrogate != 0) base::AppendUtf8(line, 0xFFFD);
  return any;
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  base::MemorySource probe(data);
  const TextLayout layout = DetectTextLayout(probe, data.size());
  base::MemorySource source(data);
  TextLines reader(source, layout, data.size());
  std::vector<std::string> lines;
  for (std::string line; reader.Next(line);) lines.push_back(line);
  return lines;
}

}  // namespace hp::imports
