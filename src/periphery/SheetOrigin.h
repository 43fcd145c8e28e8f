// Which document the spreadsheet's working table was written for: a small
// record beside the table, written with the table and read before it is
// loaded back, so one document's table never silently replaces another
// document's records.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hp::periphery {

// An open document as the exchange names it.
struct SheetDocument {
  std::filesystem::path path;  // the document file; empty while it was never saved
  std::string title;           // the window title, UTF-8 ("Unbenannt2" for a new document)
};

// The record of who wrote the table. It is a UTF-8 text of `key=value`
// lines ("Dokument", "Titel", "Fenster", "Geschrieben"); backslashes and
// line ends in values are written as "\\", "\n" and "\r". Unknown keys are
// skipped, so later versions may add some.
struct SheetOrigin {
  std::filesystem::path document;  // absolute file name of the document; empty: unsaved
  std::string title;               // its window title when the table was written
  std::string window;              // identity of the open document's exchange that wrote it
  // The table file's modification time right after it was written: a later
  // time on the file means the spreadsheet saved it since.
  std::chrono::system_clock::time_point written;
};

// Reads the record; nothing when the file is missing, unreadable or lacks the
// window identity or the writing time.
std::optional<SheetOrigin> ReadSheetOrigin(const std::filesystem::path& file);
// Writes the record atomically; false when it could not be written.
bool WriteSheetOrigin(const std::filesystem::path& file, const SheetOrigin& origin);

// Whose table it is, seen from the document about to load it.
enum class SheetOwner {
  ThisDocument,   // written by this window, or for this document's file
  OtherDocument,  // written for another file or another unsaved window
  Unknown,        // no record (a table from a program version without it, or a lost record)
};
// `window` is the identity of the loading document's exchange.
SheetOwner OwnerOf(const std::optional<SheetOrigin>& origin, const SheetDocument& document, std::string_view window);

// A file's modification time on the system clock; nothing when it has none.
std::optional<std::chrono::system_clock::time_point> ModificationTime(const std::filesystem::path& file);

// A moment as the user reads it, in local time: "07.12.2026 um 06:50 Uhr".
std::string ShownTime(std::chrono::system_clock::time_point time);

}  // namespace hp::periphery
