// Windows-1252 text codec: the program keeps every stored text in this code
// page and converts to and from Unicode (UTF-8) only at its edges.
#pragma once

#include <string>
#include <string_view>

namespace hp::base {

// Unicode code point of one Windows-1252 byte. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of
// the same value, so every byte round-trips.
char32_t Cp1252ToUnicode(unsigned char byte);

// Windows-1252 byte of a code point; `replacement` when the code page has no
// such character.
char UnicodeToCp1252(char32_t codePoint, char replacement = '?');

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// Windows-1252 bytes -> UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 -> Windows-1252. Characters the code page lacks and malformed UTF-8
// sequences become `replacement`.
std::string Utf8ToCp1252(std::string_view text, char replacement = '?');

// True when `text` is well-formed UTF-8 (plain ASCII included).
bool IsValidUtf8(std::string_view text);

// Replaces every control character of a stored text by a blank: the bytes
// below 0x20 (tab, line ends included), 0x7F and the five undefined bytes that
// stand for C1 controls. Line-based files written by other programs break on
// them. Returns how many bytes it replaced.
size_t BlankControlCharacters(std::string& text);

// Upper and lower case of a Windows-1252 byte by the code page's own letter
// pairs (a-z, the accented Latin-1 letters, š/Š, œ/Œ, ž/Ž, ÿ/Ÿ); ß and µ stay.
unsigned char Cp1252ToUpper(unsigned char byte);
unsigned char Cp1252ToLower(unsigned char byte);

}  // namespace hp::base
