// Instrument entries that carry the declinations of imported legs.
#include "import/DeclinationCarrier.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "calc/LegReduction.h"

namespace hp::imports {

DeclinationCarriers::DeclinationCarriers(doc::DocumentSettings& settings, int32_t preferred, bool gon)
    : m_settings(settings), m_preferred(preferred), m_gon(gon) {}

Carrier DeclinationCarriers::Choose(std::string_view date, double declination,
                                    const std::array<bool, doc::kInstrumentCount>& used, std::string_view name) {
  // The name as an entry holds it.
  char field[16] = {};
  base::SetText(field, name);
  const std::string_view entryName = base::TextOf(field);
  doc::SurveyRecord onDate;
  base::SetText(onDate.date, date);
  std::vector<int> order{m_preferred - 1};
  for (int i = 0; i < doc::kInstrumentCount; ++i) {
    if (i != m_preferred - 1) order.push_back(i);
  }
  for (const int i : order) {
    const bool named = entryName.empty() || base::TextOf(m_settings.instrumentNames[i]) == entryName;
    if (named && Suits(i) && std::fabs(calc::DeclinationOnDate(onDate, m_settings, i) - declination) < 1e-9) {
      return {i + 1, 0.0};
    }
  }
  for (const int i : order) {
    if (!used[static_cast<size_t>(i)] && IsUntouched(i)) {
      TakeFreeEntry(i, declination, entryName);
      return {i + 1, 0.0};
    }
  }
  const auto suitable = std::find_if(order.begin(), order.end(), [&](int i) { return Suits(i); });
  const int i = suitable != order.end() ? *suitable : m_preferred - 1;
  return {i + 1, declination - calc::DeclinationOnDate(onDate, m_settings, i)};
}

bool DeclinationCarriers::Suits(int index) const {
  const uint32_t unit = m_gon ? 1 : 0;
  return m_settings.instruments[index].azimuthUnit == unit && m_settings.instruments[index].inclinationUnit == unit &&
         m_settings.instruments[index].verticalReference == 0 && m_settings.instrumentSag[index] == 0;
}

// An entry at its defaults: nobody set it up.
bool DeclinationCarriers::IsUntouched(int index) const {
  char name[16] = {};
  doc::SetDefaultInstrumentName(name, index + 1);
  const doc::Instrument entry = doc::GetInstrument(m_settings, index + 1);
  return entry.name == base::TextOf(name) && entry.azimuthUnit == 0 && entry.declination == 0 &&
         entry.inclinationUnit == 0 && entry.verticalReference == 0 && entry.divider == 0 && entry.sag == 0 &&
         entry.declinationYear == 0 && entry.declinationChange == 0;
}

void DeclinationCarriers::TakeFreeEntry(int index, double declination, std::string_view name) {
  doc::Instrument entry;
  entry.name = name.empty() ? "Dekl. " + base::DecimalComma(base::FormatFixed(declination, 2)) : std::string(name);
  entry.azimuthUnit = entry.inclinationUnit = m_gon ? 1 : 0;
  entry.declination = declination;
  doc::SetInstrument(m_settings, index + 1, entry);
}

}  // namespace hp::imports
