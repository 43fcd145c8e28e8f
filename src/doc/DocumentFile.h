// The document file (".hpn"): the signature "koor", a version header, the
// settings block, every worksheet with its animation positions and every
// record. One reader serves opening, the document imports, templates and
// include files (the read modes); one writer serves saving and the export as
// a document.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/ByteStream.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::doc {

enum class ReadMode {
  Open = 0,         // replaces the whole store
  ImportWhole = 1,  // "Gesamtes &Dokument überschreiben"
  ImportFontsColours = 2,
  ImportInstruments = 3,
  ImportTitle = 4,
  Template = 5,  // new document from a template
  Include = 6,   // records inserted after `target`
};

enum class ReadStatus {
  Ok,             // read (result 1)
  Refused,        // a message refused the file; the store is unchanged (result 1)
  Unusable,       // modes 0 and 5: the document cannot be used (result 0)
  InvalidFormat,  // sizes or content no valid file has; the caller reports it
  TooNew,         // written by a newer program version; refused with its message
  Cancelled,      // stopped through ReadProgress; the store is unchanged, nothing was told
};

// Followed by a window that reads a large document in the background: the
// reader counts the records read now and then and stops when asked to.
struct ReadProgress {
  std::atomic<uint32_t> recordsRead{0};
  std::atomic<uint32_t> recordsExpected{0};  // 0 until the file's count is known
  std::atomic<bool> cancelled{false};
};

// What a successful read found missing. A file that ends before its header's
// counts are met, or inside an image, is read as far as it goes (missing
// bytes read as zero); the user is told, and a document opened from it must
// not count as equal to its file.
struct ReadReport {
  bool incomplete = false;
  uint32_t recordsExpected = 0;  // records the file announces (or begins)
  uint32_t recordsRead = 0;      // records taken into the document, a cut last one included
  uint32_t recordsComplete = 0;  // records read whole
};

// Reads a document after its signature. The store changes only when the read
// succeeds; a refused or invalid file leaves it as it was. In mode 6 the
// file's records are inserted after the first `target` records and `target`
// is returned advanced past the last inserted one. Messages (also the one
// about an incomplete file) and the conversion question go through
// `prompter`; "BetaOpen" comes from section "Settings" of `settings`.
// `report`, when given, receives what the read found missing.
//
// Images smaller than any format version wrote are invalid, so the number
// of images, and with it the memory the read takes, stays in proportion to
// the file's size.
ReadStatus ReadDocument(SurveyStore& store, base::ByteSource& source, ReadMode mode, size_t& target,
                        platform::Prompter& prompter, const platform::SettingsStore& settings,
                        ReadReport* report = nullptr, ReadProgress* progress = nullptr);

enum class WriteStatus {
  Ok,
  EmptyList,  // no worksheet or no record: the file ends after the last complete part
  IoError,
};

// What the writer makes of the records read from include files.
enum class WriteMode {
  AsRead,              // include file names and marks kept
  IncludesAsOrdinary,  // written as ordinary records of the document
};

// Writes a document after its signature in the current version. Sets the
// store's header values and counts and each worksheet's position size and
// count.
WriteStatus WriteDocument(SurveyStore& store, base::ByteSink& sink, WriteMode mode = WriteMode::AsRead);

inline constexpr char kSignature[4] = {'k', 'o', 'o', 'r'};

// What a file is read for; it decides the messages.
enum class FileUse { Open, Import, Template, Include };

// The read mode's natural use.
FileUse UseOfMode(ReadMode mode);

// Opens `path`, checks the signature and reads it. Reports a file that cannot
// be opened and one that is not a document with the message of `use`
// (nothing for include files). Returns the status of the read; a file that
// cannot be opened or is not a document gives InvalidFormat after its message.
ReadStatus LoadDocument(const std::filesystem::path& path, SurveyStore& store, ReadMode mode, size_t& target,
                        platform::Prompter& prompter, const platform::SettingsStore& settings,
                        ReadReport* report = nullptr, ReadProgress* progress = nullptr);

// Writes the signature and the document to `path` through a temporary file
// beside it; false (and the previous file untouched) when writing failed.
bool SaveDocument(const std::filesystem::path& path, SurveyStore& store, WriteMode mode = WriteMode::AsRead);

// Messages of the document file.
namespace messages {
inline constexpr const char* kInvalidFormat = "Diese Datei hat kein gültiges Dateiformat.";
inline constexpr const char* kImportNotDone = "\nDer Datenimport wurde nicht durchgeführt.";
inline constexpr const char* kCannotOpen = "\nDiese Datei kann nicht geöffnet werden.";
inline constexpr const char* kOpenFailed = "Fehler beim Öffnen des Dokuments.";
inline constexpr const char* kCannotWrite = "\nDiese Datei kann nicht geschrieben werden.";
inline constexpr const char* kImportNeedsNewer =
    "Die Importart kann nur mit einer neueren Dokumentversion durchgeführt werden.";
inline constexpr const char* kNewerVersion =
    "Das Dokument wurde mit einer neueren Programmversion erstellt und kann nicht bearbeitet werden.";
inline constexpr const char* kOtherBeta =
    "Das Dokument wurde mit einer anderen Betaversion erstellt und kann nicht bearbeitet werden.";
inline constexpr const char* kMustConvert =
    "Das Dokument wurde mit einer älteren Programmversion erstellt und muss konvertiert werden.";
// Printed with the number of records read (as many as the document then
// holds) and the number announced.
inline constexpr const char* kIncompleteRecords =
    "Die Datei ist unvollständig: nur %u von %u Datensätzen konnten gelesen werden.";
// Follows kIncompleteRecords when the last record read was cut.
inline constexpr const char* kLastRecordCut = "Dem letzten davon fehlt sein Ende; die fehlenden Angaben bleiben leer.";
// When every announced record was begun but the last one was cut.
inline constexpr const char* kOnlyLastRecordCut =
    "Die Datei ist unvollständig: dem letzten Datensatz fehlt sein Ende; die fehlenden Angaben bleiben leer.";
inline constexpr const char* kIncomplete =
    "Die Datei ist unvollständig: ihr Ende fehlt. Fehlende Angaben bleiben leer.";
}  // namespace messages

}  // namespace hp::doc
