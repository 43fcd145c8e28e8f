#include "draw/Picture.h"

#include <algorithm>
#include <cmath>

#include "draw/DisplayType.h"

namespace hp::draw {

namespace {

constexpr int kScreenSpareHeight = 150;
constexpr double kReferenceScreenHeight = 768;

bool Hidden(const Vec3& p) { return p.z == kHiddenDepth; }

void Widen(PlaneRect& e, bool& any, const Vec3& p) {
  if (!any) e = {p.x, p.y, p.x, p.y};
  any = true;
  e.left = std::min(e.left, p.x), e.right = std::max(e.right, p.x);
  e.bottom = std::min(e.bottom, p.y), e.top = std::max(e.top, p.y);
}

// Plan, section, projection and elevation: the projected legs.
void MeasurePlane(const doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view, Picture& picture) {
  view.legFilter().Init();
  PlaneRect e;
  const auto slots = view.slots();
  for (size_t n = 0; n < store.records.size() && n < slots.size(); ++n) {
    if (!TakesPart(*store.records[n], ws, view.legFilter())) continue;
    for (const Vec3& p : {slots[n].from, slots[n].to}) Widen(e, picture.visible, p);
  }
  picture.sceneSize = std::max(std::hypot(e.Width(), e.Height()), 3.5);
  WidenNarrow(e);
  picture.extent = e;
}

// Perspective, red-green and camera views: the projected legs in front of
// the eye, and the world extent of the legs that take part.
void MeasureSpatial(const doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view, Picture& picture) {
  view.legFilter().Init();
  const bool stereo = ws.displayType() == DisplayType::RedGreen;
  bool any = false;
  PlaneRect e;
  Extent world;
  const auto slots = view.slots();
  for (size_t n = 0; n < store.records.size() && n < slots.size(); ++n) {
    const doc::SurveyRecord& r = *store.records[n];
    if (!TakesPart(r, ws, view.legFilter())) continue;
    for (const Vec3& p : {Vec3{r.refX, r.refY, r.refZ}, Vec3{r.x, r.y, r.z}}) {
      if (!picture.visible) world.min = world.max = p;
      picture.visible = true;
      world.min = {std::min(world.min.x, p.x), std::min(world.min.y, p.y), std::min(world.min.z, p.z)};
      world.max = {std::max(world.max.x, p.x), std::max(world.max.y, p.y), std::max(world.max.z, p.z)};
    }
    for (const Vec3& p : {slots[n].from, slots[n].to})
      if (!Hidden(p)) Widen(e, any, p);
    if (stereo)
      for (const Vec3& p : {view.extras(n).rightFrom, view.extras(n).rightTo}) Widen(e, any, p);
  }
  picture.sceneSize = world.DepthNormaliser();
  WidenNarrow(e);
  picture.extent = e;
}

}  // namespace

bool TakesPart(const doc::SurveyRecord& r, const doc::Worksheet& ws, doc::LegFilter& filter) {
  return ws.adaptOverview() == 0 || (r.colour != 0 && filter.IsLegVisible(r, ws));
}

std::vector<LineColour> RecordColours(const doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view,
                                      const calc::LoopQuality* quality) {
  const int mode = doc::LineColourModeOf(ws);
  std::vector<LineColour> colours;
  colours.reserve(store.records.size());
  if (mode == doc::kLoopQualityColourMode) {
    for (size_t n = 0; n < store.records.size(); ++n) {
      const calc::LoopClass c = quality ? quality->ClassOf(n) : calc::LoopClass::NoLoop;
      colours.push_back(LoopQualityLineColour(*store.records[n], static_cast<int>(c)));
    }
    return colours;
  }
  const FalseColourInput input{view.heightOffset(), view.referencePath()};
  double max = ws.colourRangeMax(), min = ws.colourRangeMin();
  if (IsFalseColourMode(mode) && ws.manualColourRange() == 0) {
    bool any = false;
    view.legFilter().Init();
    for (const auto& record : store.records) {
      double v = 0;
      if (!TakesPart(*record, ws, view.legFilter()) || !FalseColourValue(*record, mode, input, v)) continue;
      if (!any) max = min = v;
      any = true;
      max = std::max(max, v), min = std::min(min, v);
    }
  }
  for (const auto& record : store.records) colours.push_back(RecordLineColour(*record, mode, input, max, min));
  return colours;
}

void WidenNarrow(PlaneRect& e) {
  if (std::fabs(e.Width()) < 0.5) e.left -= 0.5, e.right += 0.5;
  if (std::fabs(e.Height()) < 0.5) e.bottom -= 0.5, e.top += 0.5;
}

double CameraFactor(doc::DisplayType type, int screenHeight) {
  if (!doc::IsCameraType(type)) return 1.0;
  return (screenHeight - kScreenSpareHeight) / (kReferenceScreenHeight - kScreenSpareHeight);
}

Picture ComposePicture(const doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view,
                       const platform::SettingsStore& settings, int screenHeight) {
  Picture picture;
  const DisplayType type = ws.displayType();
  const bool spatial = doc::IsSpatialType(type);
  if (view.projectionDirty()) {
    // The plane views measure the world extent only for the automatic
    // north-arrow size; the spatial views project around it.
    const bool any = view.ComputeExtents(store, ws);
    if (spatial && !any) return picture;
    view.PrepareProjection(store, ws, settings, CameraFactor(type, screenHeight));
    view.setProjectionDirty(false);
  }
  if (spatial) {
    MeasureSpatial(store, ws, view, picture);
  } else {
    MeasurePlane(store, ws, view, picture);
  }
  view.setSceneSize(picture.sceneSize);
  if (!picture.visible) return picture;
  const calc::LoopQuality* quality = nullptr;
  if (doc::LineColourModeOf(ws) == doc::kLoopQualityColourMode)
    quality = &view.loopQuality().Get(store, calc::LoadBlunderOptions(settings));
  // A scroll or a zoom keeps the projection, and with it the colours.
  ColourKey key{doc::LineColourModeOf(ws),
                ws.manualColourRange(),
                ws.colourRangeMin(),
                ws.colourRangeMax(),
                ws.adaptOverview(),
                ws.filterCriterion(),
                std::string(ws.lineFilterPattern()),
                store.records.size(),
                store.computeGeneration};
  if (const std::vector<LineColour>* kept = view.keptColours(key)) {
    picture.colours = *kept;
  } else {
    picture.colours = RecordColours(store, ws, view, quality);
    view.keepColours(std::move(key), picture.colours);
  }
  return picture;
}

}  // namespace hp::draw
