// What an export file may hold of a document: stored texts without control
// characters, numbers that are finite and of a survey's size, positions on the
// globe. Each writer checks the values it writes before its file is opened.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "export/ExportWriter.h"

namespace hp::exports {

// The values of a record that a writer writes; a writer's set combines them.
enum WrittenValue : unsigned {
  kStations = 1u << 0,    // both stations' x, y and z
  kReadings = 1u << 1,    // tape start and end, length, azimuth, inclination, direction
  kPassage = 1u << 2,     // left, right, up and down
  kWalls = 1u << 3,       // the wall points of the cross section
  kSection = 1u << 4,     // the cross section's orientation and scale
  kPath = 1u << 5,        // the path length (station labels)
  kGeographic = 1u << 6,  // both stations as latitude and longitude in the document's UTM zone
};

// No coordinate, length or angle of a survey comes near this size (metres,
// or the record's angle unit); beyond it the files' arithmetic and their
// readers lose the number.
inline constexpr double kMaxWrittenValue = 1e8;

// The message that refuses the export because a value of record `index` in
// `values` is not finite, lies beyond kMaxWrittenValue or (kGeographic) gives
// no position on the globe; empty when the record can be written.
std::string UnwritableRecord(const ExportContext& context, size_t index, unsigned values);
// The same for every record in list order: the refusal of the first one.
std::string FirstUnwritableRecord(const ExportContext& context, unsigned values);

namespace messages {
// The refusals of a record name it as "Datensatz <number> (<cave>/<passage>/<point>)".
inline constexpr std::string_view kUnwritableNumber =
    " enthält eine Zahl, die keine endliche Zahl ist oder außerhalb von ±100.000.000 liegt.";
inline constexpr std::string_view kOffTheGlobe = " ergibt in der UTM-Zone ";
inline constexpr std::string_view kOffTheGlobeEnd = " keine Position auf der Erde.";
inline constexpr std::string_view kNotExported = "\nDer Export wurde nicht durchgeführt.";
inline constexpr std::string_view kUnwritableSetting =
    "Eine Zahl der Einstellungen des Dokuments oder des Arbeitsblatts ist keine endliche Zahl.\n"
    "Der Export wurde nicht durchgeführt.";
}  // namespace messages

}  // namespace hp::exports
