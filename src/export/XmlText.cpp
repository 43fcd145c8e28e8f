// Text inside the XML of the KML and GPX files.
#include <string>

#include "base/Cp1252.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

// Appends the markup escape of `c`; false when `c` is no markup character.
bool AppendMarkup(std::string& out, char c) {
  switch (c) {
    case '&': out += "&amp;"; return true;
    case '<': out += "&lt;"; return true;
    case '>': out += "&gt;"; return true;
    case '"': out += "&quot;"; return true;
    default: return false;
  }
}

void AppendReference(std::string& out, unsigned char byte) {
  out += "&#";
  out += std::to_string(static_cast<unsigned long>(base::Cp1252ToUnicode(byte)));
  out += ';';
}

}  // namespace

std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  // XML 1.0 forbids most control characters, and a line end would split the
  // text for the readers: all are blanks.
  for (const char c : LineText(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (AppendMarkup(out, c)) continue;
    if (byte >= 0x80) AppendReference(out, byte);
    else out += c;
  }
  return out;
}

std::string GpxName(std::string_view text, bool replaceUmlauts) {
  std::string name;
  for (const char c : text) {
    const char* replacement = nullptr;
    if (replaceUmlauts) {
      switch (static_cast<unsigned char>(c)) {
        case 0xE4: replacement = "ae"; break;
        case 0xF6: replacement = "oe"; break;
        case 0xFC: replacement = "ue"; break;
        case 0xC4: replacement = "Ae"; break;
        case 0xD6: replacement = "Oe"; break;
        case 0xDC: replacement = "Ue"; break;
        case 0xDF: replacement = "ss"; break;
        default: break;
      }
    }
    if (replacement) name += replacement;
    else name += c;
  }
  if (name.size() > 32) name.resize(32);
  return Latin1Xml(name);
}

std::string Latin1Xml(std::string_view text) {
  std::string out;
  for (const char c : LineText(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (AppendMarkup(out, c)) continue;
    if (byte >= 0x80 && byte <= 0x9F) AppendReference(out, byte);
    else out += c;
  }
  return out;
}

}  // namespace hp::exports
