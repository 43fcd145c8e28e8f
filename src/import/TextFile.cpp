// Import text files: encoding and lines.
#include "import/TextFile.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "base/Cp1252.h"

namespace hp::imports {
namespace {

constexpr size_t kChunk = 1 << 16;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The length of a UTF-8 sequence by its lead byte (0 for a continuation or
// invalid byte).
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Where a chunk of UTF-8 may be cut so that no sequence is split: before a
// lead byte near the end whose sequence is not complete yet.
size_t CompleteSequencesEnd(std::string_view text) {
  const size_t back = std::min<size_t>(3, text.size());
  for (size_t i = text.size(); i-- > text.size() - back;) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;
    const size_t length = SequenceLength(byte);
    return length > text.size() - i ? i : text.size();
  }
  return text.size();
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

TextEncoding DetectTextEncoding(base::ByteSource& source, uint64_t limit) {
  std::vector<uint8_t> chunk(kChunk);
  size_t got = ReadSome(source, chunk, limit);
  if (got >= 2 && chunk[0] == 0xFF && chunk[1] == 0xFE) return TextEncoding::Utf16LE;
  if (got >= 2 && chunk[0] == 0xFE && chunk[1] == 0xFF) return TextEncoding::Utf16BE;
  const bool bom = std::string_view(reinterpret_cast<const char*>(chunk.data()), got).starts_with(kUtf8Bom);
  // A sequence cut by the chunk's end is carried over to the next chunk.
  std::string pending;
  bool nonAscii = false;
  while (got > 0) {
    pending.append(reinterpret_cast<const char*>(chunk.data()), got);
    const size_t end = CompleteSequencesEnd(pending);
    const std::string_view complete(pending.data(), end);
    if (!base::IsValidUtf8(complete)) return TextEncoding::Cp1252;
    nonAscii = nonAscii || HasNonAscii(complete);
    pending.erase(0, end);
    got = ReadSome(source, chunk, limit);
  }
  if (!pending.empty()) return TextEncoding::Cp1252;
  return bom || nonAscii ? TextEncoding::Utf8 : TextEncoding::Cp1252;
}

TextLines::TextLines(base::ByteSource& source, TextEncoding encoding, uint64_t limit)
    : m_source(source), m_encoding(encoding), m_left(limit), m_buffer(kChunk) {}

bool TextLines::Fill() {
  if (m_pos < m_end) return true;
  m_pos = 0;
  m_end = ReadSome(m_source, m_buffer, m_left);
  return m_end > 0;
}

bool TextLines::Next(std::string& line) {
  line.clear();
  const bool utf16 = m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE;
  const bool first = !m_started;
  m_started = true;
  if (first && utf16) {
    for (size_t i = 0; i < 2 && Fill(); ++i) ++m_pos;  // the byte-order mark
  }
  if (!(utf16 ? NextUtf16Line(line) : NextByteLine(line))) return false;
  // A UTF-8 byte-order mark is no text, also in a file not read as UTF-8.
  if (first && !utf16 && line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
  while (!line.empty() && line.back() == '\r') line.pop_back();
  if (m_encoding == TextEncoding::Utf8 && HasNonAscii(line)) line = base::Utf8ToCp1252(line);
  return true;
}

bool TextLines::NextByteLine(std::string& line) {
  bool any = false;
  while (Fill()) {
    any = true;
    const auto* begin = m_buffer.data() + m_pos;
    const auto* found = static_cast<const uint8_t*>(std::memchr(begin, '\n', m_end - m_pos));
    const size_t length = found ? static_cast<size_t>(found - begin) : m_end - m_pos;
    line.append(reinterpret_cast<const char*>(begin), length);
    m_pos += length;
    if (found) {
      ++m_pos;
      return true;
    }
  }
  return any;
}

bool TextLines::NextUtf16Line(std::string& line) {
  bool any = false;
  bool afterHighSurrogate = false;
  for (;;) {
    uint8_t unit[2];
    size_t have = 0;
    while (have < 2 && Fill()) unit[have++] = m_buffer[m_pos++];
    if (have < 2) return any || have > 0;  // an odd last byte ends the text
    any = true;
    const char32_t code = m_encoding == TextEncoding::Utf16LE ? static_cast<char32_t>(unit[0] | (unit[1] << 8))
                                                              : static_cast<char32_t>((unit[0] << 8) | unit[1]);
    if (code == u'\n') return true;
    const bool low = code >= 0xDC00 && code <= 0xDFFF;
    // A surrogate pair is one character, and none of them is in Windows-1252.
    if (!(low && afterHighSurrogate)) line.push_back(base::UnicodeToCp1252(code));
    afterHighSurrogate = code >= 0xD800 && code <= 0xDBFF;
  }
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  base::MemorySource probe(data);
  const TextEncoding encoding = DetectTextEncoding(probe, data.size());
  base::MemorySource source(data);
  TextLines reader(source, encoding, data.size());
  std::vector<std::string> lines;
  for (std::string line; reader.Next(line);) lines.push_back(line);
  return lines;
}

}  // namespace hp::imports
