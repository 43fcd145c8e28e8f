// Bounds every import keeps to: the size of the numbers it takes, the number
// of records a document may reach, the size of the text files it reads; and
// the one message that names the lines refused for a number out of bounds.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hp::imports {

// Lengths and coordinates are metres; no cave is measured in numbers beyond
// this, and larger ones only lead to infinite or undefined coordinates.
inline constexpr double kMaxImportMagnitude = 1e7;
// Records a document may hold after an import, include files counted.
inline constexpr size_t kMaxDocumentRecords = 10'000'000;
// Memory one record takes while the program holds, computes and saves it:
// the 1,446-byte record, its pointer and the allocator's share, and what the
// compute pass keeps for it (an import of 300,000 short lines with its
// computation and saving peaks at about 1,530 bytes a record).
inline constexpr uint64_t kBytesPerRecord = 1600;

// The physical memory of this machine in bytes; 0 when it cannot be told.
uint64_t PhysicalMemory();
// The records an import may bring a document to with `memory` bytes of
// physical memory (0: this machine's): what is left after a margin for the
// system and other programs (a quarter, at least 2 GiB), at kBytesPerRecord
// each. Unbounded when the memory cannot be told.
size_t RecordsForMemory(uint64_t memory = 0);
// Writes 1234567 as "1.234.567".
std::string GroupedNumber(size_t value);
// "Nicht genügend Arbeitsspeicher." with the records a document would need
// and the records the memory allows.
std::string OutOfMemoryMessage(size_t needed, size_t possible);
// Largest text files read: a table, and a PocketTopo export (read whole).
inline constexpr uint64_t kMaxTableFileSize = 2ULL << 30;
inline constexpr uint64_t kMaxPocketTopoFileSize = 64ULL << 20;

// Whether a number read from an import file can be taken: finite and at most
// kMaxImportMagnitude in size.
inline bool IsImportableNumber(double value) { return std::isfinite(value) && std::fabs(value) <= kMaxImportMagnitude; }

// The lines of one import refused for a number out of bounds. They are
// reported together, in one message naming the first line and its value.
class RefusedLines {
 public:
  // `line` counts from 1; `value` is the field as it is in the file
  // (Windows-1252).
  void Add(size_t line, std::string_view value);
  size_t Count() const { return m_count; }
  // The message (UTF-8); empty when no line was refused.
  std::string Message() const;

 private:
  size_t m_count = 0;
  size_t m_firstLine = 0;
  std::string m_firstValue;
};

namespace messages {
inline constexpr const char* kImportNotDone = "\nDer Datenimport wurde nicht durchgeführt.";
inline constexpr const char* kOutOfMemory = "Nicht genügend Arbeitsspeicher.";
inline constexpr const char* kTooLarge =
    "\nDiese Datei ist zu groß. Importiert werden Tabellen bis 2 GB und PocketTopo-Dateien bis 64 MB.";
inline constexpr const char* kTooManyRecords =
    "Das Dokument hätte nach dem Import mehr als 10.000.000 Datensätze.\nDer Datenimport wurde nicht durchgeführt.";
inline constexpr const char* kIncludeTooManyRecords =
    "\nMit dieser Include-Datei hätte das Dokument mehr als 10.000.000 Datensätze.\n"
    "Sie und die folgenden Include-Dateien wurden nicht eingelesen.";
inline constexpr const char* kIncludeNotRead = "\nDiese Include-Datei und die folgenden wurden nicht eingelesen.";
}  // namespace messages

}  // namespace hp::imports
