// Loop figures in the status line and highlighted legs scrolled into sight.
#include "draw/interaction/LegHighlight.h"

#include <algorithm>
#include <cmath>

#include "base/NumberFormat.h"

namespace hp::draw {

namespace {

constexpr std::string_view kGap = "  ";

int Scrolled(int low, int high, int window, int now, int max) {
  if (low >= now && high <= now + window) return now;
  return std::clamp((low + high) / 2 - window / 2, 0, std::max(max, 0));
}

}  // namespace

std::string LoopFiguresStatusText(const calc::BlunderLoop* worst) {
  if (worst == nullptr) return "Ring: keiner";
  const double* e = worst->misclosure;
  const double misclosure = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
  std::string text = "Ring: normiert " + base::FormatShown(worst->normalised);
  text += std::string(kGap) + "Fehler " + base::FormatShown(misclosure) + " m";
  text += std::string(kGap) + "Länge " + base::FormatShown(worst->length) + " m";
  return text;
}

std::optional<Rect> LegsDeviceBounds(const ViewTransform& view, std::span<const size_t> legs, double scale, int ox,
                                     int oy) {
  std::optional<Rect> bounds;
  const auto slots = view.slots();
  for (const size_t n : legs) {
    if (n >= slots.size()) continue;
    for (const Vec3& p : {slots[n].from, slots[n].to}) {
      if (p.z == kHiddenDepth) continue;
      const DevicePoint d = ToDevice(p.x, p.y, scale, ox, oy);
      if (!bounds) bounds = Rect{d.x, d.y, d.x, d.y};
      bounds->left = std::min(bounds->left, d.x), bounds->right = std::max(bounds->right, d.x);
      bounds->top = std::min(bounds->top, d.y), bounds->bottom = std::max(bounds->bottom, d.y);
    }
  }
  return bounds;
}

Point ScrollToShow(const Rect& b, Size client, Point now, Point max) {
  return {Scrolled(b.left, b.right, client.cx, now.x, max.x), Scrolled(b.top, b.bottom, client.cy, now.y, max.y)};
}

}  // namespace hp::draw
