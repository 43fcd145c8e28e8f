// Compute messages.
#include "calc/ComputeMessages.h"

#include "base/Cp1252.h"
#include "doc/Station.h"

namespace hp::calc {
namespace {

std::string Station(const doc::StationId& station) { return base::Cp1252ToUtf8(doc::StationText(station)); }

std::string Leg(const doc::SurveyRecord& r) {
  return "Messzug " + Station(doc::RefStationOf(r)) + " - " + Station(doc::StationOf(r));
}

std::string Head(int number) { return "Fehler beim Berechnen von Datensatz " + std::to_string(number) + ".\n"; }

}  // namespace

std::string DoubleLegMessage(int number, const doc::SurveyRecord& r, int earlier) {
  return Head(number) + Leg(r) + " ist bereits in Datensatz " + std::to_string(earlier) +
         " definiert.\nDatensatz laden?";
}

std::string UndefinedReferenceMessage(int number, const doc::SurveyRecord& r) {
  return Head(number) + "Referenzpunkt " + Station(doc::RefStationOf(r)) + " nicht definiert.\nDatensatz laden?";
}

std::string DoubleLegBeforeSaveMessage(const doc::SurveyRecord& r, int earlier) {
  return "Fehler beim Berechnen.\n" + Leg(r) + " ist bereits in Datensatz " + std::to_string(earlier) +
         " definiert.\nDatensatz speichern?";
}

std::string UndefinedReferenceBeforeSaveMessage(const doc::SurveyRecord& r) {
  return "Fehler beim Berechnen.\nReferenzpunkt " + Station(doc::RefStationOf(r)) +
         " nicht definiert.\nDatensatz speichern?";
}

}  // namespace hp::calc
