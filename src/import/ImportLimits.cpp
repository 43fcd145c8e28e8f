// Reporting numbers an import cannot take.
#include "import/ImportLimits.h"

#include <unistd.h>

#include <algorithm>
#include <limits>

#include "base/Cp1252.h"

namespace hp::imports {
namespace {

// The value as the message quotes it: at most 40 characters, control
// characters shown as "?".
std::string Quoted(std::string_view value) {
  constexpr size_t kMaxQuoted = 40;
  std::string text(value.substr(0, kMaxQuoted));
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  std::string quoted = base::Cp1252ToUtf8(text);
  if (value.size() > kMaxQuoted) quoted += "…";
  return quoted;
}

}  // namespace

std::string GroupedNumber(size_t value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back('.');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

uint64_t PhysicalMemory() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

size_t RecordsForMemory(uint64_t memory) {
  if (memory == 0) memory = PhysicalMemory();
  if (memory == 0) return std::numeric_limits<size_t>::max();
  const uint64_t margin = std::max<uint64_t>(memory / 4, 2ULL << 30);
  if (memory <= margin) return 0;
  return static_cast<size_t>((memory - margin) / kBytesPerRecord);
}

std::string OutOfMemoryMessage(size_t needed, size_t possible) {
  return std::string(messages::kOutOfMemory) + "\nDas Dokument bräuchte " + GroupedNumber(needed) +
         " Datensätze, der Arbeitsspeicher dieses Rechners reicht für " + GroupedNumber(possible) + ".";
}

void RefusedLines::Add(size_t line, std::string_view value) {
  if (m_count++ == 0) {
    m_firstLine = line;
    m_firstValue = Quoted(value);
  }
}

std::string RefusedLines::Message() const {
  if (m_count == 0) return {};
  std::string text = "Zeile " + std::to_string(m_firstLine) + ": Der Wert \"" + m_firstValue +
                     "\" ist keine endliche Zahl oder liegt außerhalb von ±10.000.000.\n"
                     "Die Zeile wurde nicht importiert.";
  if (m_count > 1) {
    text += "\nWeitere " + std::to_string(m_count - 1) + (m_count == 2 ? " Zeile" : " Zeilen") +
            " mit solchen Werten " + (m_count == 2 ? "wurde" : "wurden") + " ebenfalls nicht importiert.";
  }
  return text;
}

}  // namespace hp::imports
