// The logic of the instrument dialog "Geräte": a working copy of the 16
// instruments, the entry range of each column, and on OK the copy written
// back with fresh sag coefficients (the caller then runs the compute
// command).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "doc/DocumentSettings.h"

namespace hp::calc {

enum class InstrumentColumn { Name, Divider, Sag, AzimuthUnit, Declination, Year, Change, InclinationUnit, Vertical };

struct ColumnRange {
  double min = 0;
  double max = 0;
};

// The entry range of a number column ("Teiler" 0 to 1000, "Durchhang" 0 to
// 100, "Deklination" -400 to 400, "Jahr" 0 to 4000, "Änderung" -10 to 10);
// the list columns give their index range.
ColumnRange RangeOf(InstrumentColumn column);

// Texts of the list columns.
inline constexpr const char* kAngleUnits[] = {"Grad", "Gon"};
inline constexpr const char* kVerticalReferences[] = {"horizontal", "nadiral", "zenital"};
inline constexpr std::size_t kInstrumentNameMax = 15;

class InstrumentTable {
 public:
  explicit InstrumentTable(const doc::DocumentSettings& settings);

  // Instrument 1 to 16 of the working copy.
  const doc::Instrument& At(int number) const { return m_rows.at(static_cast<size_t>(number - 1)); }
  doc::Instrument& At(int number) { return m_rows.at(static_cast<size_t>(number - 1)); }

  // The first entry outside its range, as (instrument number, column).
  std::optional<std::pair<int, InstrumentColumn>> FirstInvalid() const;

  // OK: writes all 16 rows back and recomputes the sag coefficients. False
  // (and nothing written) while an entry is outside its range.
  bool Apply(doc::DocumentSettings& settings) const;

 private:
  std::array<doc::Instrument, doc::kInstrumentCount> m_rows;
};

}  // namespace hp::calc
