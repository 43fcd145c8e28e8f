// Import text files: encoding and lines.
#include "import/TextFile.h"

#include <fstream>

#include "base/Cp1252.h"

namespace hp::imports {
namespace {

bool HasNonAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  std::string converted;
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  const bool bom = bytes.starts_with(kBom);
  if (bom) bytes.remove_prefix(kBom.size());
  if ((bom || HasNonAscii(bytes)) && base::IsValidUtf8(bytes)) {
    converted = base::Utf8ToCp1252(bytes);
    bytes = converted;
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::optional<std::vector<std::string>> ReadTextFileLines(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) bytes.append(buffer, static_cast<size_t>(in.gcount()));
  return SplitTextLines(bytes);
}

}  // namespace hp::imports
