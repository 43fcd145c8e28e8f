#include "draw/PlanFrame.h"

#include <algorithm>

namespace hp::draw {

double NorthArrowUnit(int size, const Extent& world) {
  double length = size;
  if (size <= 0) length = std::max(1.0, std::max(world.max.x - world.min.x, world.max.y - world.min.y) / 10);
  return length / 12;
}

std::vector<FrameLine> NorthArrowLines(const Vec3& at, double u) {
  const auto p = [&](double x, double y) { return Vec3{at.x + x * u, at.y + y * u, at.z}; };
  constexpr double n = 0.62, foot = 7.74, head = 9.74;
  return {
      {p(-6, 0), p(6, 0)},                                                              // east-west bar
      {p(0, -6), p(0, 5)},                                                              // south-north bar
      {p(-n, 5), p(n, 5)},                                                              // arrowhead
      {p(-n, 5), p(0, 6.5)},     {p(n, 5), p(0, 6.5)},     {p(-n, foot), p(-n, head)},  // letter N
      {p(-n, head), p(n, foot)}, {p(n, foot), p(n, head)},
  };
}

std::vector<FrameLine> PreparePlanFrame(const ViewTransform& view, const doc::Worksheet& worksheet,
                                        const Extent& world) {
  const DisplayType type = worksheet.displayType();
  if ((type != DisplayType::Plan && type != DisplayType::Parallel) || worksheet.northArrow() == 0) return {};
  std::vector<FrameLine> lines =
      NorthArrowLines(view.referencePoint(), NorthArrowUnit(worksheet.northArrowSize(), world));
  for (FrameLine& line : lines) line = {view.ProjectPoint(line.from), view.ProjectPoint(line.to)};
  return lines;
}

}  // namespace hp::draw
