// Station labels of numbering kinds 1 to 10.
#include "draw/StationLabel.h"

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"

namespace hp::draw {

std::string StationLabel(const doc::SurveyRecord& r, int kind, const doc::DocumentSettings& settings,
                         double heightOffset, double referencePath) {
  const std::string point = base::Cp1252ToUtf8(base::TextOf(r.point));
  const std::string cave = std::to_string(r.cave), passage = std::to_string(r.passage);
  switch (kind) {
    case 1: return cave + "/" + passage + "/" + point;
    case 2: return cave + "/" + point;
    case 3: return passage + "/" + point;
    case 4: return point;
    case 5: return base::FormatShown(r.z - heightOffset);
    case 6: return base::FormatShown(r.pathLength - referencePath);
    case 7: return std::to_string(settings.cadastreNumber) + "/" + cave;
    case 8: return base::Cp1252ToUtf8(base::TextOf(r.description));
    case 9: return base::Cp1252ToUtf8(base::TextOf(r.material));
    case 10: return base::Cp1252ToUtf8(base::TextOf(r.measures));
    default: return {};
  }
}

}  // namespace hp::draw
