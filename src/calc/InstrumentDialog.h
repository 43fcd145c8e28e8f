// The instrument dialog "Geräte" as its table shows it: row labels, column
// titles, the texts of the cells, and OK turning the typed texts into the
// instrument table (refusing an entry outside its range) with fresh sag
// coefficients.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calc/InstrumentTable.h"
#include "doc/DocumentDialogs.h"
#include "doc/DocumentSettings.h"

namespace hp::calc {

inline constexpr int kInstrumentColumnCount = 9;

// Column order of the table: "Gerät", "Teiler", "Durchhang", "Azimut",
// "Deklination", "Jahr", "Änderung", "Neigung", "Vertik" (UTF-8).
InstrumentColumn InstrumentColumnAt(int position);
const char* InstrumentColumnTitle(InstrumentColumn column);
// "&1" to "&9", then "10" to "16".
std::string InstrumentRowLabel(int number);
// The list columns ("Azimut", "Neigung", "Vertik") and their entries; the
// other columns are typed.
bool IsListColumn(InstrumentColumn column);
int ChoiceCount(InstrumentColumn column);
const char* ChoiceText(InstrumentColumn column, int index);

// The field number a refusal of OK names, and back.
int InstrumentCellField(int number, InstrumentColumn column);
int InstrumentOfField(int field);
InstrumentColumn ColumnOfField(int field);

class InstrumentDialogModel {
 public:
  explicit InstrumentDialogModel(const doc::DocumentSettings& settings);

  // Typed columns: the name (Windows-1252) or the number with a decimal comma.
  const std::string& Text(int number, InstrumentColumn column) const;
  void SetText(int number, InstrumentColumn column, std::string text);
  // List columns: the chosen entry.
  int Choice(int number, InstrumentColumn column) const;
  void SetChoice(int number, InstrumentColumn column, int index);

  // OK: every number read (comma or point), every entry within its range;
  // otherwise nothing is stored and the first bad cell is named. Stores the
  // 16 instruments, recomputes their sag coefficients; the document is then
  // modified, recomputed and redrawn.
  doc::DialogOutcome Apply(doc::DocumentSettings& settings) const;

 private:
  static size_t Cell(int number, InstrumentColumn column);
  std::array<std::string, doc::kInstrumentCount * kInstrumentColumnCount> m_texts;
  std::array<int, doc::kInstrumentCount * kInstrumentColumnCount> m_choices{};
};

}  // namespace hp::calc
