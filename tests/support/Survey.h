// Small surveys written as text, one record a line, for every test that needs
// records in a store:
//
//   "A B 10 90 0"                    leg A -> B, length, azimuth, inclination
//   "2/3/A 2/3/B 10 90 0"            stations as cave/passage/point (else 1/1);
//                                    "-" is a station without a name
//   "A B @ 0 0 0  10 0 -2"           reference and station coordinates given
//   "A B 10 90 0 @ 0 0 0  10 0 -2"   both
//   "A B 10 90 0 ring=5 colour=2"    further fields: ring, colour, level,
//                                    instrument, length, desc (text without
//                                    spaces)
//
// Blank lines are skipped. A malformed line fails the test at once.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "base/FixedText.h"
#include "doc/SurveyStore.h"

namespace hp::test {

namespace survey_detail {

inline void SetStation(std::string_view text, int32_t& cave, int32_t& passage, char (&point)[13]) {
  cave = passage = 1;
  const size_t last = text.rfind('/');
  if (last != std::string_view::npos) {
    const size_t first = text.find('/');
    cave = std::stoi(std::string(text.substr(0, first)));
    passage = std::stoi(std::string(text.substr(first + 1, last - first - 1)));
    text = text.substr(last + 1);
  }
  base::SetText(point, text == "-" ? std::string_view() : text);
}

}  // namespace survey_detail

inline doc::SurveyRecord ParseRecord(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::string ref, station, word;
  doc::SurveyRecord r;
  in >> ref >> station;
  EXPECT_FALSE(in.fail()) << "survey line without two stations: " << line;
  survey_detail::SetStation(ref, r.refCave, r.refPassage, r.refPoint);
  survey_detail::SetStation(station, r.cave, r.passage, r.point);
  in >> word;
  if (!word.empty() && word != "@" && word.find('=') == std::string::npos) {
    r.length = std::stod(word);
    in >> r.azimuth >> r.inclination;
    EXPECT_FALSE(in.fail()) << "survey line without azimuth and inclination: " << line;
    word.clear();
    in >> word;
  }
  if (word == "@") {
    in >> r.refX >> r.refY >> r.refZ >> r.x >> r.y >> r.z;
    EXPECT_FALSE(in.fail()) << "survey line without six coordinates: " << line;
    word.clear();
    in >> word;
  }
  for (; !word.empty(); word.clear(), in >> word) {
    const size_t eq = word.find('=');
    const std::string key = word.substr(0, eq), value = eq == std::string::npos ? "" : word.substr(eq + 1);
    if (key == "desc") base::SetText(r.description, value);
    else if (key == "ring") r.ring = std::stoi(value);
    else if (key == "colour") r.colour = std::stoi(value);
    else if (key == "level") r.level = std::stoi(value);
    else if (key == "instrument") r.instrument = std::stoi(value);
    else if (key == "length") r.length = std::stod(value);
    else ADD_FAILURE() << "unknown survey field: " << word;
  }
  return r;
}

// Appends one record per line of `text` and returns the last one.
inline doc::SurveyRecord& AddRecords(doc::SurveyStore& store, std::string_view text) {
  std::istringstream lines{std::string(text)};
  for (std::string line; std::getline(lines, line);) {
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    store.records.push_back(std::make_unique<doc::SurveyRecord>(ParseRecord(line)));
  }
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  return *store.records.back();
}

// A worksheet with the settings of a new one, showing display type `type`.
inline doc::Worksheet NewSheet(int type = 0) {
  doc::Worksheet ws;
  doc::InitWorksheet(ws);
  ws.setDisplayType(doc::DisplayTypeOf(type));
  return ws;
}

// A store with the default settings and worksheet and no records.
inline std::unique_ptr<doc::SurveyStore> EmptySurvey(int loopAdjustment = 2) {
  auto store = std::make_unique<doc::SurveyStore>();
  store->SetDefaults();
  store->records.clear();
  store->settings.recordCount = 0;
  store->settings.loopAdjustment = static_cast<uint16_t>(loopAdjustment);
  return store;
}

// The same with the records of `text`.
inline std::unique_ptr<doc::SurveyStore> Survey(std::string_view text, int loopAdjustment = 2) {
  auto store = EmptySurvey(loopAdjustment);
  AddRecords(*store, text);
  return store;
}

// For generated surveys, whose values are computed: a leg in cave 1,
// passage 1, measured with instrument 1 (degrees, no corrections).
inline doc::SurveyRecord MakeLeg(std::string_view from, std::string_view to, double length = 0, double azimuth = 0,
                                 double inclination = 0, int ring = 0) {
  doc::SurveyRecord r;
  r.refCave = r.cave = r.refPassage = r.passage = 1;
  base::SetText(r.refPoint, from);
  base::SetText(r.point, to);
  r.length = length, r.azimuth = azimuth, r.inclination = inclination, r.ring = ring;
  return r;
}

inline doc::SurveyRecord& AddLeg(doc::SurveyStore& store, std::string_view from, std::string_view to, double length = 0,
                                 double azimuth = 0, double inclination = 0, int ring = 0) {
  store.records.push_back(std::make_unique<doc::SurveyRecord>(MakeLeg(from, to, length, azimuth, inclination, ring)));
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  return *store.records.back();
}

// A station given by its coordinates (a record from the station to itself).
inline doc::SurveyRecord& AddReference(doc::SurveyStore& store, std::string_view name, double x = 0, double y = 0,
                                       double z = 0, int ring = 0) {
  doc::SurveyRecord& r = AddLeg(store, name, name, 0, 0, 0, ring);
  r.refX = r.x = x, r.refY = r.y = y, r.refZ = r.z = z;
  return r;
}

// A station of the given passage at the given coordinates, reached from
// station "0" of the same passage.
inline doc::SurveyRecord& AddStation(doc::SurveyStore& store, int cave, int passage, std::string_view point, double x,
                                     double y, double z, std::string_view description = {}) {
  doc::SurveyRecord& r = AddLeg(store, "0", point);
  r.refCave = r.cave = cave, r.refPassage = r.passage = passage;
  r.x = x, r.y = y, r.z = z;
  base::SetText(r.description, description);
  return r;
}

}  // namespace hp::test
