// Export dispatch: the writer a file name's extension chooses, and the
// writing of the file through a temporary file beside it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "doc/DisplayType.h"
#include "doc/DocumentFile.h"
#include "export/ExportWriter.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::exports {

// The extension as the dispatch sees it: the last three characters of the
// name, lower-cased ("x.DXF" gives "dxf", "x.dxf2" gives "xf2").
std::string ExportExtension(const std::filesystem::path& path);

// The writer for an extension ("txt", "kml", "gpx", "ovl", "tro", "svx", "dxf", standard or cave cadastre by
// "DXFFormat"), or null when no writer takes it.
std::unique_ptr<ExportWriter> WriterFor(std::string_view extension, const platform::SettingsStore& settings);

// The message that refuses to export the display type `type` in the format of
// `extension` (DXF takes the plane types, the viewer data and VRML only the
// camera view, a bitmap anything but the protocol); empty when it is allowed.
std::string_view DisplayTypeRefusal(std::string_view extension, doc::DisplayType type);

// Writes `path` with the writer its extension chooses. False, after its
// message, when no writer takes the extension or refuses the records (no
// file is made; a record whose numbers the file cannot take is refused by
// name), or the file cannot be written (an older file of that name stays as
// it was).
bool ExportFile(const std::filesystem::path& path, const ExportContext& context, platform::Prompter& prompter);

// Writes a copy of the document to `path`, unchanged or with the records of
// include files as ordinary records (no include names, none marked as read
// from an include file). False after its message when the
// file cannot be written (an older file of that name stays as it was).
bool ExportDocumentCopy(const std::filesystem::path& path, doc::SurveyStore& store, doc::WriteMode mode,
                        platform::Prompter& prompter);

namespace messages {
using doc::messages::kCannotOpen;
inline constexpr std::string_view kOnlyPlaneTypes =
    "In diesem Format können nur die Darstellungen Grundriss, Längsschnitt, Aufriss und Parallelprojektion "
    "exportiert werden.";
inline constexpr std::string_view kOnlyAnimation =
    "In diesem Format kann nur die Darstellung Animation exportiert werden.";
inline constexpr std::string_view kNoProtocolBitmap =
    "Das Vermessungsprotokoll kann nicht in diesem Format exportiert werden.";
inline constexpr const char* kBadExtension = "\nDiese Datei hat keine gültige Dateierweiterung.";
}  // namespace messages

}  // namespace hp::exports
