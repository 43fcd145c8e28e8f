// The survey protocol's content: the sections the worksheet switches on and
// their rows as tab-separated UTF-8 text.
#include <algorithm>
#include <map>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "calc/DataEvaluation.h"
#include "doc/Station.h"
#include "draw/protocol/Protocol.h"

namespace hp::draw {
namespace {

using Column = ProtocolColumn;

std::string Utf8(std::string_view cp1252) { return base::Cp1252ToUtf8(cp1252); }

// "%0.2lf" with a decimal comma; a value that rounds to zero from below
// shows no sign.
std::string Shown(double value) {
  std::string text = base::FormatShown(value);
  if (text == "-0,00") text.erase(0, 1);
  return text;
}
std::string Number(double value) { return Shown(value) + "\t"; }

// A station in the worksheet's protocol numbering, followed by a tab.
std::string StationText(int numbering, long cave, long passage, std::string_view point) {
  const std::string name = Utf8(point);
  switch (numbering) {
    case 1: return std::to_string(cave) + "/" + name + "\t";
    case 2: return std::to_string(passage) + "/" + name + "\t";
    case 3: return name + "\t";
    default: return std::to_string(cave) + "/" + std::to_string(passage) + "/" + name + "\t";
  }
}

std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(Utf8(line));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

class SectionBuilder {
 public:
  SectionBuilder(doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view)
      : m_store(store), m_ws(ws), m_view(view), m_numbering(std::clamp(ws.protocolNumbering(), 0, 3)) {
    m_view.legFilter().Init();
    for (size_t n = 0; n < store.records.size(); ++n) {
      const doc::SurveyRecord& r = *store.records[n];
      if (r.colour != 0 && !base::TextOf(r.point).empty() && m_view.legFilter().IsLegVisible(r, ws))
        m_listed.push_back(n);
    }
  }

  std::vector<ProtocolSection> Build() {
    std::vector<ProtocolSection> sections;
    const int32_t switches[8] = {m_ws.protocolCadastre(),
                                 m_ws.protocolCaves(),
                                 m_ws.protocolDocumentDescription(),
                                 m_ws.protocolWorksheetDescription(),
                                 m_ws.protocolEvaluation(),
                                 m_ws.protocolLegList(),
                                 m_ws.protocolMaterialList(),
                                 m_ws.protocolMeasuresList()};
    for (int index = 0; index < 8; ++index) {
      if (switches[index] == 0) continue;
      ProtocolSection section = Make(index);
      section.index = index;
      if (!section.rows.empty()) sections.push_back(std::move(section));
    }
    return sections;
  }

 private:
  const doc::SurveyRecord& Rec(size_t n) const { return *m_store.records[n]; }
  std::string Station(const doc::SurveyRecord& r) const {
    return StationText(m_numbering, r.cave, r.passage, base::TextOf(r.point));
  }
  std::string Depth(const doc::SurveyRecord& r) const { return Number(r.z - m_view.heightOffset()); }

  ProtocolSection Make(int index) {
    switch (index) {
      case 0: return Cadastre();
      case 1: return Caves();
      case 2: return Text("Dokument-Beschreibung", base::TextOf(m_store.settings.descriptionText));
      case 3: return Text("Arbeitsblatt-Beschreibung", m_ws.worksheetDescription());
      case 4: return Evaluation();
      case 5: return Legs();
      case 6: return Materials();
      default: return Measures();
    }
  }

  ProtocolSection Cadastre() const {
    ProtocolSection s{0, "Kataster", "", {Column::Text}, {}};
    s.rows.push_back(std::to_string(m_store.settings.cadastreNumber) + ": " +
                     Utf8(base::TextOf(m_store.settings.cadastreDesignation)));
    return s;
  }

  // A cave's name is the description of the coordinate reference that opens
  // it, as the records overview names it.
  ProtocolSection Caves() const {
    ProtocolSection s{1, "Höhle", "", {Column::Text}, {}};
    std::map<long, std::string> caves;
    for (size_t n : m_listed) caves.emplace(Rec(n).cave, std::string());
    for (auto& [cave, name] : caves) {
      for (const auto& record : m_store.records) {
        if (record->cave != cave) continue;
        if (doc::IsSelfReference(*record)) name = Utf8(base::TextOf(record->description));
        break;
      }
      s.rows.push_back(std::to_string(cave) + ": " + name);
    }
    return s;
  }

  static ProtocolSection Text(std::string title, std::string_view text) {
    ProtocolSection s{0, std::move(title), "", {Column::Text}, TextLines(text)};
    return s;
  }

  ProtocolSection Evaluation() {
    ProtocolSection s{4, "Datenauswertung", "", {Column::EvaluationLabel, Column::Number, Column::Number}, {}};
    const calc::SurveyEvaluation e = calc::EvaluateSurvey(m_store, m_ws, m_view.heightOffset(), m_view.referencePath());
    static constexpr std::string_view kLabels[8] = {
        "Anzahl der Messzüge",    "Gesamtlänge",        "Gesamttiefe",        "Horizontale Länge",
        "Horizontale Ausdehnung", "Höchster Messpunkt", "Tiefster Messpunkt", "Längster Weg zum Ursprung"};
    const auto visible = calc::EvaluationRowValues(e.visible);
    const auto all = calc::EvaluationRowValues(e.all);
    for (size_t row = 0; row < 8; ++row) {
      std::string line(kLabels[row]);
      line += "\t";
      if (row == 0) {
        line += std::to_string(e.visible.legCount) + "\t" + std::to_string(e.all.legCount);
      } else {
        line += Number(visible[row]) + Shown(all[row]);
      }
      s.rows.push_back(std::move(line));
    }
    return s;
  }

  ProtocolSection Legs() const {
    const int info = std::clamp(m_ws.protocolLegInfo(), 0, 7);
    ProtocolSection s{5, "Messlinien-Liste", "Referenz\tMesspunkt\tLänge\tAzimut\tNeigung\t", {}, {}};
    s.columns = {Column::Station, Column::Station, Column::Number, Column::Angle, Column::Angle};
    if (info == 4) {
      s.header += "RefX\tRefY\tRefZ\t";
      s.columns.insert(s.columns.end(), 3, Column::Number);
    }
    s.header += "X\tY\tZ\t";
    s.columns.insert(s.columns.end(), 3, Column::Number);
    static constexpr std::string_view kTextColumns[8] = {"", "Bezeichnung", "Bemerkung", "Datum", "",
                                                         "", "Material",    "Maßnahmen"};
    if (info == 5) {
      s.header += "Links\tRechts\tOben\tUnten";
      s.columns.insert(s.columns.end(), 4, Column::Number);
    } else if (!kTextColumns[info].empty()) {
      s.header += kTextColumns[info];
      s.columns.push_back(Column::Text);
    }
    for (size_t n : m_listed) {
      const doc::SurveyRecord& r = Rec(n);
      std::string row = StationText(m_numbering, r.refCave, r.refPassage, base::TextOf(r.refPoint)) + Station(r) +
                        Number(r.length) + Number(r.azimuth) + Number(r.inclination);
      if (info == 4) row += Number(r.refX) + Number(r.refY) + Number(r.refZ);
      row += Number(r.x) + Number(r.y) + Number(r.z);
      switch (info) {
        case 1: row += Utf8(base::TextOf(r.description)); break;
        case 2: row += Utf8(base::TextOf(r.remark)); break;
        case 3: row += Utf8(base::TextOf(r.date)); break;
        case 5: row += Number(r.left) + Number(r.right) + Number(r.up) + Shown(r.down); break;
        case 6: row += Utf8(base::TextOf(r.material)); break;
        case 7: row += Utf8(base::TextOf(r.measures)); break;
        default: break;
      }
      s.rows.push_back(std::move(row));
    }
    return s;
  }

  ProtocolSection Materials() const {
    const int info = std::clamp(m_ws.protocolMaterialInfo(), 0, 2);
    static constexpr std::string_view kHeaders[3] = {"Messpunkt\tMaterial", "Messpunkt\tBezeichnung\tMaterial",
                                                     "Messpunkt\tTiefe\tBezeichnung\tMaterial"};
    ProtocolSection s{6, "Material-Liste", std::string(kHeaders[info]), {Column::Station}, {}};
    if (info == 2) s.columns.push_back(Column::Number);
    if (info >= 1) s.columns.push_back(Column::Text);
    s.columns.push_back(Column::Text);
    for (size_t n : m_listed) {
      const doc::SurveyRecord& r = Rec(n);
      if (base::TextOf(r.material).empty()) continue;
      std::string row = Station(r);
      if (info == 2) row += Depth(r);
      if (info >= 1) row += Utf8(base::TextOf(r.description)) + "\t";
      s.rows.push_back(row + Utf8(base::TextOf(r.material)));
    }
    return s;
  }

  ProtocolSection Measures() const {
    const int info = std::clamp(m_ws.protocolMeasuresInfo(), 0, 4);
    static constexpr std::string_view kHeaders[5] = {
        "Messpunkt\tMaßnahmen", "Messpunkt\tBezeichnung\tMaßnahmen", "Messpunkt\tMaterial\tMaßnahmen",
        "Messpunkt\tBezeichnung\tMaterial\tMaßnahmen", "Messpunkt\tTiefe\tBezeichnung\tMaßnahmen"};
    ProtocolSection s{7, "Maßnahmen-Liste", std::string(kHeaders[info]), {Column::Station}, {}};
    const bool depth = info == 4, description = info == 1 || info == 3 || info == 4, material = info == 2 || info == 3;
    if (depth) s.columns.push_back(Column::Number);
    if (description) s.columns.push_back(Column::Text);
    if (material) s.columns.push_back(Column::Text);
    s.columns.push_back(Column::Text);
    for (size_t n : m_listed) {
      const doc::SurveyRecord& r = Rec(n);
      if (base::TextOf(r.measures).empty()) continue;
      std::string row = Station(r);
      if (depth) row += Depth(r);
      if (description) row += Utf8(base::TextOf(r.description)) + "\t";
      if (material) row += Utf8(base::TextOf(r.material)) + "\t";
      s.rows.push_back(row + Utf8(base::TextOf(r.measures)));
    }
    return s;
  }

  doc::SurveyStore& m_store;
  const doc::Worksheet& m_ws;
  ViewTransform& m_view;
  const int m_numbering;
  std::vector<size_t> m_listed;  // list positions of the records the lists show
};

}  // namespace

std::vector<ProtocolSection> BuildProtocolSections(doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                                   ViewTransform& view, const platform::SettingsStore& settings) {
  if (view.projectionDirty()) {
    view.ComputeExtents(store, worksheet);
    view.PrepareProjection(store, worksheet, settings);
    view.setProjectionDirty(false);
  }
  return SectionBuilder(store, worksheet, view).Build();
}

std::string ProtocolClipboardText(const std::vector<ProtocolSection>& sections) {
  std::string text;
  for (const ProtocolSection& s : sections) {
    text += s.title + "\n";
    if (!s.header.empty()) text += s.header + "\n";
    for (const std::string& row : s.rows) text += row + "\n";
    text += "\n";
  }
  return text;
}

}  // namespace hp::draw
