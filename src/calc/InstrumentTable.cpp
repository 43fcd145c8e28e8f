// The instrument dialog's working copy.
#include "calc/InstrumentTable.h"

#include "calc/LegReduction.h"

namespace hp::calc {

ColumnRange RangeOf(InstrumentColumn column) {
  switch (column) {
    case InstrumentColumn::Name: return {0, static_cast<double>(kInstrumentNameMax)};
    case InstrumentColumn::Divider: return {0, 1000};
    case InstrumentColumn::Sag: return {0, 100};
    case InstrumentColumn::AzimuthUnit:
    case InstrumentColumn::InclinationUnit: return {0, 1};
    case InstrumentColumn::Declination: return {-400, 400};
    case InstrumentColumn::Year: return {0, 4000};
    case InstrumentColumn::Change: return {-10, 10};
    case InstrumentColumn::Vertical: return {0, 2};
  }
  return {};
}

InstrumentTable::InstrumentTable(const doc::DocumentSettings& settings) {
  for (int number = 1; number <= doc::kInstrumentCount; ++number) At(number) = doc::GetInstrument(settings, number);
}

std::optional<std::pair<int, InstrumentColumn>> InstrumentTable::FirstInvalid() const {
  for (int number = 1; number <= doc::kInstrumentCount; ++number) {
    const doc::Instrument& i = At(number);
    const std::pair<InstrumentColumn, double> values[] = {
        {InstrumentColumn::Name, static_cast<double>(i.name.size())},
        {InstrumentColumn::Divider, i.divider},
        {InstrumentColumn::Sag, i.sag},
        {InstrumentColumn::AzimuthUnit, static_cast<double>(i.azimuthUnit)},
        {InstrumentColumn::Declination, i.declination},
        {InstrumentColumn::Year, i.declinationYear},
        {InstrumentColumn::Change, i.declinationChange},
        {InstrumentColumn::InclinationUnit, static_cast<double>(i.inclinationUnit)},
        {InstrumentColumn::Vertical, static_cast<double>(i.verticalReference)},
    };
    for (const auto& [column, value] : values) {
      const ColumnRange range = RangeOf(column);
      if (!(value >= range.min && value <= range.max)) return std::pair{number, column};
    }
  }
  return std::nullopt;
}

bool InstrumentTable::Apply(doc::DocumentSettings& settings) const {
  if (FirstInvalid()) return false;
  for (int number = 1; number <= doc::kInstrumentCount; ++number) doc::SetInstrument(settings, number, At(number));
  UpdateSagCoefficients(settings);
  return true;
}

}  // namespace hp::calc
