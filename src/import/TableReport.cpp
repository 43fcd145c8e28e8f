// The table import's messages on what it found, changed and left out.
#include "import/TableReport.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "import/TableColumns.h"
#include "import/TextFile.h"

namespace hp::imports {
namespace {

constexpr size_t kMaxSamples = 5;
constexpr size_t kMaxListed = 20;
constexpr size_t kMaxReplacedCharacters = 20;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// "a", "a und b", "a, b und c"; past `limit` items "a, b, … und 7 weitere".
std::string Listed(const std::vector<std::string>& items, size_t total, size_t limit = kMaxListed) {
  const size_t shown = std::min({items.size(), total, limit});
  std::string text;
  for (size_t i = 0; i < shown; ++i) {
    if (i > 0) text += i + 1 == shown && shown == total ? " und " : ", ";
    text += items[i];
  }
  if (total > shown) text += ", … und " + std::to_string(total - shown) + " weitere";
  return text;
}

size_t Utf8Length(unsigned char lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

// The code points of well-formed UTF-8, up to `count` of them.
std::u32string CodePoints(std::string_view text, size_t count = std::string_view::npos) {
  std::u32string points;
  for (size_t pos = 0; pos < text.size() && points.size() < count;) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const size_t length = std::min(Utf8Length(lead), text.size() - pos);
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    points.push_back(cp);
    pos += length;
  }
  return points;
}

std::string Utf8(std::u32string_view points) {
  std::string text;
  for (const char32_t cp : points) base::AppendUtf8(text, cp);
  return text;
}

std::string Plural(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string SeparatorName(char separator) {
  switch (separator) {
    case ';': return "Semikolon";
    case ',': return "Komma";
    default: return "Tabulator";
  }
}

}  // namespace

void StationNames::Add(size_t line, std::string_view stored, std::string_view original) {
  const std::string storedText = base::Cp1252ToUtf8(stored);
  const std::u32string storedPoints = CodePoints(storedText);
  // The record keeps as many characters as the stored name has, one byte
  // for each character of the file.
  const std::u32string originalPoints =
      original.empty() ? storedPoints : CodePoints(original, std::max<size_t>(stored.size(), 1));
  const std::string originalText = Utf8(originalPoints);
  if (originalText != storedText && m_renamedNames.insert(originalText).second) {
    ++m_renamed;
    if (m_renamedSamples.size() < kMaxSamples) {
      m_renamedSamples.push_back(Quoted(originalText) + " wird zu " + Quoted(storedText) + " (Zeile " +
                                 std::to_string(line) + ")");
    }
    for (size_t i = 0; i < originalPoints.size() && i < stored.size(); ++i) {
      const char32_t cp = originalPoints[i];
      if (stored[i] == '?' && cp != U'?' && m_replacedCharacters.find(cp) == std::u32string::npos &&
          m_replacedCharacters.size() < kMaxReplacedCharacters) {
        m_replacedCharacters.push_back(cp);
      }
    }
  }
  if (stored.find('?') == std::string_view::npos) return;
  const auto [known, added] = m_questionable.emplace(storedText, originalText);
  if (added || known->second == originalText) return;
  const std::string merged = Quoted(known->second) + " und " + Quoted(originalText) + " werden beide zu " +
                             Quoted(storedText) + " (Zeile " + std::to_string(line) + ")";
  if (std::find(m_mergedSamples.begin(), m_mergedSamples.end(), merged) != m_mergedSamples.end()) return;
  ++m_merged;
  if (m_mergedSamples.size() < kMaxSamples) m_mergedSamples.push_back(merged);
}

std::string StationNames::RenamedNote() const {
  if (m_renamed == 0) return {};
  std::string characters;
  for (const char32_t cp : m_replacedCharacters) characters += (characters.empty() ? "" : ", ") + Utf8({&cp, 1});
  return "Windows-1252 kennt nicht alle Zeichen der Messpunktnamen. In " +
         Plural(m_renamed, "Messpunktnamen", "Messpunktnamen") + " wurden Zeichen durch \"?\" ersetzt" +
         (characters.empty() ? "" : " (" + characters + ")") + ":\n" + Listed(m_renamedSamples, m_renamed) + ".";
}

std::string StationNames::MergedQuestion() const {
  return "Beim Umwandeln in Windows-1252 werden verschiedene Messpunktnamen gleich:\n" +
         Listed(m_mergedSamples, m_merged) +
         ".\nDie Messzüge würden dadurch anders verbunden, die Form der Vermessung ändert sich.\n"
         "Trotzdem importieren?";
}

std::string BlankedTextsNote(size_t fields) {
  return "Steuerzeichen (etwa Zeilenumbrüche) in " + Plural(fields, "Textfeld", "Textfeldern") +
         " wurden durch Leerzeichen ersetzt.";
}

std::string TableReport::Refusal() const {
  if (knownColumns == 0) {
    std::string found;
    if (zeroBytes) {
      found = "Nullbytes; die Datei ist in UTF-16 oder UTF-32 ohne Byte-Order-Mark gespeichert oder keine Textdatei";
    } else if (fields <= 1 && (headerFields.empty() || headerFields.front() == "\"\"")) {
      found = "eine leere erste Zeile";
    } else {
      found = fields == 1 ? "ein Feld ohne Tabulator, Semikolon oder Komma: "
                          : std::to_string(fields) + " Felder, getrennt durch " + SeparatorName(separator) + ": ";
      found += Listed(headerFields, fields, kMaxSamples);
    }
    return "Die erste Zeile nennt keine bekannte Spalte.\nGefunden: " + found + "." + messages::kImportNotDone;
  }
  if (records > 0) return {};
  std::string why;
  if (dataLines == 0) why = "Sie hat nur die Kopfzeile.";
  else if (refused.Count() > 0) why = "Keine Zeile konnte übernommen werden.\n" + refused.Message();
  else why = "Keine ihrer " + Plural(dataLines, "Zeile", "Zeilen") + " enthält einen Wert in einer bekannten Spalte.";
  return "Die Tabelle ergibt keinen Datensatz. " + why + messages::kImportNotDone;
}

std::string TableReport::Notes() const {
  std::vector<std::string> notes;
  if (unknownColumns.size() == 1) {
    notes.push_back(UnknownColumnMessage(unknownColumns.front()));
  } else if (!unknownColumns.empty()) {
    std::vector<std::string> names;
    for (const std::string& name : unknownColumns) names.push_back(ColumnNameForMessage(name));
    notes.push_back("Die Spalten " + Listed(names, names.size()) + " können nicht importiert werden.");
  }
  if (refused.Count() > 0) notes.push_back(refused.Message());
  if (blankedFields > 0) {
    std::string note = BlankedTextsNote(blankedFields);
    note.insert(note.size() - 1, ", zuerst in Zeile " + std::to_string(firstBlankedLine));
    notes.push_back(note);
  }
  if (malformedBytes > 0) {
    std::vector<std::string> lines;
    for (const size_t line : malformedLines) lines.push_back(std::to_string(line));
    notes.push_back("Die Datei wurde als UTF-8 gelesen. " +
                    Plural(malformedBytes, "ungültiges Byte wurde", "ungültige Bytes wurden") +
                    " durch \"?\" ersetzt, in Zeile " + Listed(lines, malformedLineCount, 10) + ".");
  }
  if (stations.Renamed() > 0) notes.push_back(stations.RenamedNote());
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "\n\n") + note;
  return text;
}

}  // namespace hp::imports
