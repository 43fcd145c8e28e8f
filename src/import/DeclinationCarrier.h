// The instrument entry that carries a declination for imported legs: the
// readings keep the compass as it was read, and the entry adds the
// declination, as the document's own legs do.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "doc/DocumentSettings.h"

namespace hp::imports {

// The entry a leg gets, and what was added to its azimuth because no entry
// could carry its declination.
struct Carrier {
  int32_t instrument = 1;
  double correction = 0;
};

class DeclinationCarriers {
 public:
  // `preferred` (1 to 16) is tried first; `gon`: the data's angle unit.
  DeclinationCarriers(doc::DocumentSettings& settings, int32_t preferred, bool gon);

  // The first entry (the preferred one, then 1 to 16) that measures in the
  // data's angle unit, horizontally, without sag, with `declination` on
  // `date`; else an entry no record uses and nobody set up, now set up so;
  // else the first entry in the data's unit (or the preferred one), with
  // the azimuths corrected by the difference. `used` marks the entries that
  // records of the document or of the data use. With a `name` (the data's
  // own name of the instruments), only an entry of that name suits, and an
  // entry set up gets it.
  Carrier Choose(std::string_view date, double declination, const std::array<bool, doc::kInstrumentCount>& used,
                 std::string_view name = {});

 private:
  bool Suits(int index) const;
  bool IsUntouched(int index) const;
  void TakeFreeEntry(int index, double declination, std::string_view name);

  doc::DocumentSettings& m_settings;
  int32_t m_preferred;
  bool m_gon;
};

}  // namespace hp::imports
