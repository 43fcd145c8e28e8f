// The format writers. Each reads its options from the settings when it is
// made, so one writer writes one file.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "doc/Station.h"
#include "export/ExportWriter.h"

namespace hp::exports {

// Table text: every record with all its columns, read back by the table
// import.
class TableWriter final : public ExportWriter {
 public:
  bool UsesLegFilter() const override { return false; }
  bool UsesDrawing() const override { return false; }
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
};

// KML for Earth viewers: one folder per cave, station and leg placemarks.
class KmlWriter final : public ExportWriter {
 public:
  explicit KmlWriter(const platform::SettingsStore& settings);
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

 private:
  bool m_cave, m_cavePoint, m_point, m_pointNumber;
  long m_openCave = -1234;
  bool m_folderOpen = false;
  double m_minLatitude = 90.0;
  double m_maxLongitude = -180.0;
};

// GPX waypoints: the current station, or every labelled station.
class GpxWriter final : public ExportWriter {
 public:
  explicit GpxWriter(const platform::SettingsStore& settings);
  bool WalksRecords() const override { return m_all; }
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

 private:
  void Waypoint(TextOut& out, const ExportContext& context, const doc::SurveyRecord& record, const std::string& name);
  // The list position of the current record; a number beyond the list
  // means its last record.
  static size_t CurrentIndex(const ExportContext& context);
  bool m_all;
  bool m_replaceUmlauts;
  std::string m_symbol;  // Windows-1252
};

// Standard DXF: lines, marks and texts on layers named after the level.
class DxfStandardWriter final : public ExportWriter {
 public:
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

 private:
  double m_h = 0;  // text height
};

// DXF for cave cadastre drawings: legs, station blocks, texts and
// cross-section blocks on layers that name cadastre area, cave and passage.
// The blocks "VM", "HR" and "BH" and the text styles belong to the drawing
// that receives the file.
class DxfCaveCadWriter final : public ExportWriter {
 public:
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

 private:
  char m_view = 'G';
  std::string m_area;
  double m_marker = 1.0, m_label = 1.5, m_passageText = 1.2;
};

// Overlay for map software: each leg a two-point line symbol in geographic
// coordinates, grouped by cave and at most 255 to a group.
class OverlayWriter final : public ExportWriter {
 public:
  bool UsesDrawing() const override { return false; }
  std::string Refusal(const ExportContext& context) const override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

 private:
  int m_symbols = 0;
  int m_group = 10;
  int m_inGroup = 0;
  long m_lastCave = -1234;
};

// VisualTopo text: the legs as length, azimuth and inclination between
// their stations, measured from the computed coordinates.
class VisualTopoWriter final : public ExportWriter {
 public:
  bool UsesDrawing() const override { return false; }
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;

 private:
  // Whether the record is one of the file's legs.
  static bool IsLeg(const RecordEntry& entry);
  // "passage_point", or "cave_passage_point" when the document holds
  // several caves, so that their stations keep apart in the reader.
  std::string Name(long cave, long passage, std::string_view point) const;
  bool m_started = false;
  bool m_withCave = false;
  draw::Vec3 m_place;  // the head's position: the first coordinate reference
};

// The data file of the companion viewer: the camera view's legs, cross
// sections and frame as coloured 3D lines with labels, and the animation
// positions.
class ViewerDataWriter final : public ExportWriter {
 public:
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

 private:
  draw::Vec3 m_shift;  // origin coordinates minus the reference point
};

// VRML 2.0 world: a closed passage body per leg, caps at passage ends, a
// wire frame around the bodies and a viewpoint per animation position.
class VrmlWriter final : public ExportWriter {
 public:
  explicit VrmlWriter(const platform::SettingsStore& settings);
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

  int faces() const { return m_faces; }

 private:
  int m_faces = 4;
  int m_form = 2;
  double m_diameter = 100;                          // centimetres
  std::vector<std::pair<double, double>> m_circle;  // cosine and sine of each ring step
  double m_sceneSize = 0;                           // 1.5 times the diagonal of the extent
  draw::Vec3 m_shift;
  // A station by cave, passage and name; the name views the record's own text,
  // which outlives the writer.
  struct Station {
    long cave = 0, passage = 0;
    std::string_view point;
    bool operator==(const Station&) const = default;
  };
  struct StationHash {
    size_t operator()(const Station& s) const noexcept;
  };
  std::unordered_map<Station, size_t, StationHash> m_firstTo;  // station -> first record ending there
  bool m_anyBody = false;
  draw::Vec3 m_min, m_max;
};

// Survex data: the records as a centre line with fixed points, splays,
// dates, teams and passage dimensions (the file's content is described at
// the top of SurvexWriter.cpp).
class SurvexWriter final : public ExportWriter {
 public:
  bool UsesDrawing() const override { return false; }
  std::string Refusal(const ExportContext& context) const override;
  void Begin(TextOut& out, const ExportContext& context) override;
  void Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) override;
  void End(TextOut& out, const ExportContext& context) override;

 private:
  // The list position of the survey's first coordinate reference (a record
  // that refers to its own station).
  static std::optional<size_t> FirstReference(const ExportContext& context);
  void OpenBlock(TextOut& out, const ExportContext& context, const doc::SurveyRecord& record);
  void CloseBlock(TextOut& out);
  // The line in hand with the record's remark as a comment.
  void WriteLine(TextOut& out, const doc::SurveyRecord& record);

  struct Station {
    long cave = 0, passage = 0;
    std::string_view point;  // the record's own text, which outlives the writer
    bool operator==(const Station&) const = default;
  };
  struct StationHash {
    size_t operator()(const Station& s) const noexcept;
  };
  std::vector<doc::RecordKind> m_kinds;  // by list position
  // The name of a station in the file: its Survex name where it has one.
  std::string Name(long cave, long passage, std::string_view point) const;

  std::unordered_set<Station, StationHash> m_defined;             // stations written so far
  std::unordered_map<Station, std::string, StationHash> m_names;  // Survex names of imported stations
  std::map<std::pair<long, long>, std::string> m_passages;        // passage -> its "*data passage" rows
  std::string m_line;
  std::string m_after;   // written after the line: "*cs" back to the document's grid
  std::string m_system;  // the document's grid as "*cs" names it; empty for a local survey
  // What the file has in force: set inside a "*begin" block, it ends there.
  struct State {
    bool splay = false;  // "*flags splay"
    bool grid = false;   // "*data cartesian"
    bool duplicate = false, surface = false;
    std::string accuracy;  // the "*sd" lines, empty before the first
  };
  State m_state, m_outside;
  bool m_blockOpen = false;
  std::string m_blockDate;
  int m_blockSurveyor = 0;
};

// "C<cave>.P<passage>.<point>" with every point character other than a
// letter, a digit or '-' written as '_' and two hex digits.
std::string SurvexStationName(long cave, long passage, std::string_view point);

namespace messages {
inline constexpr std::string_view kSurvexNoReference =
    "Die exportierten Datensätze enthalten keine Koordinatenreferenz. Ohne einen festen Punkt kann die "
    "Survex-Datei nicht geschrieben werden.";
inline constexpr std::string_view kVisualTopoNoLeg =
    "Die exportierten Datensätze enthalten keinen Messzug zu einem benannten Messpunkt. Ohne ihn kann die "
    "VisualTopo-Datei nicht geschrieben werden.";
}  // namespace messages

// The general number form of the DXF files: at most six significant digits,
// no trailing zeros (0.2, 1, 0.945).
std::string General(double value);

// XML text of a Windows-1252 string: markup characters escaped, every other
// character beyond ASCII as a numeric character reference.
std::string XmlText(std::string_view text);
// GPX waypoint name: umlauts replaced when asked, cut to 32 characters, then
// the markup characters escaped. The rest stays Windows-1252 except the
// characters 0x80 to 0x9F, which ISO-8859-1 lacks: numeric references.
std::string GpxName(std::string_view text, bool replaceUmlauts);
// Windows-1252 text in an ISO-8859-1 file: markup characters escaped, the
// characters 0x80 to 0x9F as numeric references.
std::string Latin1Xml(std::string_view text);

}  // namespace hp::exports
