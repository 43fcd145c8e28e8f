// The record beside the working table: reading, writing and whose table it is.
#include "periphery/SheetOrigin.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>

#include "base/ByteStream.h"
#include "base/NumberFormat.h"

namespace hp::periphery {

namespace {

namespace fs = std::filesystem;
using std::chrono::nanoseconds;
using std::chrono::system_clock;

constexpr std::string_view kDocumentKey = "Dokument";
constexpr std::string_view kTitleKey = "Titel";
constexpr std::string_view kWindowKey = "Fenster";
constexpr std::string_view kWrittenKey = "Geschrieben";
// A record is a few hundred bytes; anything far larger is not one.
constexpr std::streamsize kMaxRecordSize = 64 * 1024;

std::string Escaped(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string Unescaped(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

fs::path Normal(const fs::path& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return (error ? path : absolute).lexically_normal();
}

bool SameFile(const fs::path& a, const fs::path& b) {
  if (Normal(a) == Normal(b)) return true;
  std::error_code error;
  return fs::equivalent(a, b, error);
}

}  // namespace

std::optional<SheetOrigin> ReadSheetOrigin(const fs::path& file) {
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  std::string text(static_cast<size_t>(kMaxRecordSize) + 1, '\0');
  in.read(text.data(), kMaxRecordSize + 1);
  if (in.bad() || in.gcount() > kMaxRecordSize) return std::nullopt;
  text.resize(static_cast<size_t>(in.gcount()));

  SheetOrigin origin;
  std::optional<long long> written;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    const std::string value = Unescaped(line.substr(equals + 1));
    if (key == kDocumentKey) origin.document = fs::path(value);
    else if (key == kTitleKey) origin.title = value;
    else if (key == kWindowKey) origin.window = value;
    else if (key == kWrittenKey) written = base::ParseInteger(value);
  }
  if (origin.window.empty() || !written) return std::nullopt;
  origin.written = system_clock::time_point(std::chrono::duration_cast<system_clock::duration>(nanoseconds(*written)));
  return origin;
}

bool WriteSheetOrigin(const fs::path& file, const SheetOrigin& origin) {
  const long long written = std::chrono::duration_cast<nanoseconds>(origin.written.time_since_epoch()).count();
  const fs::path document = origin.document.empty() ? fs::path() : Normal(origin.document);
  std::string text;
  text.append(kDocumentKey).append("=").append(Escaped(document.string())).append("\n");
  text.append(kTitleKey).append("=").append(Escaped(origin.title)).append("\n");
  text.append(kWindowKey).append("=").append(Escaped(origin.window)).append("\n");
  text.append(kWrittenKey).append("=").append(std::to_string(written)).append("\n");
  return base::WriteFileAtomically(file, [&text](base::ByteSink& sink) {
    return sink.Write({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  });
}

SheetOwner OwnerOf(const std::optional<SheetOrigin>& origin, const SheetDocument& document, std::string_view window) {
  if (!origin) return SheetOwner::Unknown;
  if (origin->window == window) return SheetOwner::ThisDocument;
  if (!origin->document.empty() && !document.path.empty() && SameFile(origin->document, document.path))
    return SheetOwner::ThisDocument;
  return SheetOwner::OtherDocument;
}

std::optional<system_clock::time_point> ModificationTime(const fs::path& file) {
  std::error_code error;
  const fs::file_time_type time = fs::last_write_time(file, error);
  if (error) return std::nullopt;
  return std::chrono::time_point_cast<system_clock::duration>(std::chrono::file_clock::to_sys(time));
}

std::string ShownTime(system_clock::time_point time) {
  const std::time_t seconds = system_clock::to_time_t(time);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[48];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d um %02d:%02d Uhr", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min);
  return text;
}

}  // namespace hp::periphery
