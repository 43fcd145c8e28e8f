// Extent, reference station, projection matrices and projection slots.
#include "draw/ViewTransform.h"

#include <algorithm>
#include <cmath>

#include "base/FixedText.h"

namespace hp::draw {

namespace {

Vec3 FromPoint(const doc::SurveyRecord& r) { return {r.refX, r.refY, r.refZ}; }
Vec3 ToPoint(const doc::SurveyRecord& r) { return {r.x, r.y, r.z}; }
Vec3 FromSection(const doc::SectionPoint& p) { return {p.distance, p.height, p.across}; }
Vec3 SectionFrom(const doc::SurveyRecord& r) { return FromSection(r.developed.from); }
Vec3 SectionTo(const doc::SurveyRecord& r) { return FromSection(r.developed.to); }
Vec3 WallPoint(const doc::SurveyRecord& r, int k) {
  return {r.altCoords[3 * k], r.altCoords[3 * k + 1], r.altCoords[3 * k + 2]};
}

void Widen(Extent& e, const Vec3& p) {
  e.min = {std::min(e.min.x, p.x), std::min(e.min.y, p.y), std::min(e.min.z, p.z)};
  e.max = {std::max(e.max.x, p.x), std::max(e.max.y, p.y), std::max(e.max.z, p.z)};
}

constexpr std::string_view kSettingsSection = "Settings";

}  // namespace

double Extent::DepthNormaliser() const {
  const double dx = max.x - min.x, dy = max.y - min.y, dz = max.z - min.z;
  return std::max(std::sqrt(dx * dx + dy * dy + dz * dz), 3.5);
}

ViewPose StoredPose(const doc::Worksheet& worksheet) {
  ViewPose pose;
  double inclination = worksheet.viewInclination();
  if (std::isnan(inclination)) inclination = 0;
  pose.inclination = std::clamp(inclination, -90.0, 90.0);
  double azimuth = worksheet.viewAzimuth();
  if (!std::isfinite(azimuth)) azimuth = 0;
  // A value no single turn brings back (read from a damaged file) is reduced
  // first, so the loops below always end.
  if (std::fabs(azimuth) > 3600) azimuth = std::fmod(azimuth, 360.0);
  while (azimuth < 0) azimuth += 360;
  while (azimuth >= 360) azimuth -= 360;
  pose.azimuth = azimuth;
  pose.centre = {worksheet.viewCentreX(), worksheet.viewCentreY(), worksheet.viewCentreZ()};
  return pose;
}

ViewPose PoseOf(const ViewTransform& view, const doc::Worksheet& worksheet) {
  return view.prepared() ? view.pose() : StoredPose(worksheet);
}

void KeepViewPose(doc::Worksheet& worksheet, const ViewTransform& view) {
  if (!view.prepared()) return;
  const ViewPose& pose = view.pose();
  worksheet.setViewInclination(pose.inclination);
  worksheet.setViewAzimuth(pose.azimuth);
  worksheet.setViewCentreX(pose.centre.x);
  worksheet.setViewCentreY(pose.centre.y);
  worksheet.setViewCentreZ(pose.centre.z);
}

bool ViewTransform::ComputeExtents(const doc::SurveyStore& store, const doc::Worksheet& worksheet) {
  const bool adapt = worksheet.adaptOverview() != 0;
  if (adapt) m_filter.Init();
  bool any = false;
  Extent e;
  for (const auto& record : store.records) {
    const doc::SurveyRecord& r = *record;
    if (adapt && (r.colour == 0 || !m_filter.IsLegVisible(r, worksheet))) continue;
    if (!any) e.min = e.max = FromPoint(r);
    any = true;
    Widen(e, FromPoint(r));
    Widen(e, ToPoint(r));
  }
  // A flat survey still needs a plane to draw on.
  if (e.min.x == e.max.x || e.min.y == e.max.y) {
    e.min.x -= 1.0, e.max.x += 1.0;
    e.min.y -= 1.0, e.max.y += 1.0;
  }
  if (e.min.z == e.max.z) e.min.z -= 1.0, e.max.z += 1.0;
  m_extent = e;
  return any;
}

void ViewTransform::PrepareProjection(const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                      const platform::SettingsStore& settings, double factor) {
  m_reference = {};
  m_referencePath = 0;
  m_coloursKept = false;
  m_colours = {};
  m_pose = StoredPose(worksheet);
  m_prepared = true;
  const DisplayType type = worksheet.displayType();
  FindReference(store, worksheet, type);
  BuildMatrices(worksheet, settings, type, factor);
  FillSlots(store, type);
}

void ViewTransform::FindReference(const doc::SurveyStore& store, const doc::Worksheet& worksheet, DisplayType type) {
  const std::string_view origin = worksheet.originPoint();
  m_referenceFound = false;
  for (const auto& record : store.records) {
    const doc::SurveyRecord& r = *record;
    const std::string_view name = base::TextOf(r.point);
    if (name.empty() || name != origin || r.cave != worksheet.originCave() || r.passage != worksheet.originPassage())
      continue;
    m_reference = type == DisplayType::Section ? SectionTo(r) : ToPoint(r);
    m_referencePath = r.pathLength;
    m_referenceFound = true;
    break;
  }
  const double referenceHeight = type == DisplayType::Section ? m_reference.y : m_reference.z;
  m_heightOffset = referenceHeight - worksheet.originZ();
}

void ViewTransform::BuildMatrices(const doc::Worksheet& ws, const platform::SettingsStore& settings, DisplayType type,
                                  double factor) {
  const double a = m_pose.azimuth, i = m_pose.inclination;
  const Vec3 org{ws.originX(), ws.originY(), ws.originZ()};
  const Vec3& ref = m_reference;
  const Matrix4 toOrigin = TranslateMatrix(org.x - ref.x, org.y - ref.y, org.z - ref.z);
  const double d = m_extent.DepthNormaliser();
  const Vec3 q = m_extent.Centre();
  const int perspective = settings.GetInt(kSettingsSection, "Perspektive", kDefaultPerspective);
  const double weight = perspective / (100.0 * d);

  m_rightMatrix = Matrix4{};
  switch (type) {
    case DisplayType::Plan: m_matrix = toOrigin; break;
    case DisplayType::Section:
      m_matrix = TranslateMatrix(std::sqrt(org.x * org.x + org.y * org.y) - ref.x, org.z - ref.y, 0);
      break;
    case DisplayType::Parallel:
      m_matrix = Chain({toOrigin, SwapMatrix(), TurnAzimuthMatrix(a), TurnInclinationMatrix(i)});
      break;
    case DisplayType::Elevation:
      m_matrix = Chain({toOrigin, SwapMatrix(), TurnAzimuthMatrix(a), TurnInclinationMatrix(0)});
      break;
    case DisplayType::Perspective:
      m_matrix = Chain({TranslateMatrix(-q.x, -q.y, -q.z), SwapMatrix(), TurnAzimuthMatrix(a), TurnInclinationMatrix(i),
                        WeightMatrix(weight)});
      break;
    case DisplayType::RedGreen: {
      const double eye = settings.GetInt(kSettingsSection, "Alpha", kDefaultStereoAngle) / 2.0;
      const Matrix4 common =
          Chain({TranslateMatrix(-q.x, -q.y, -q.z), SwapMatrix(), TurnAzimuthMatrix(a), TurnInclinationMatrix(i)});
      m_matrix = Chain({common, TurnAzimuthMatrix(eye), WeightMatrix(weight)});
      m_rightMatrix = Chain({common, TurnAzimuthMatrix(-eye), WeightMatrix(weight)});
      break;
    }
    case DisplayType::Animation: {
      if (m_recentre) {
        m_pose.centre = q;
        m_recentre = false;
      }
      const double s = 1000.0 / d;
      const Vec3& c = m_pose.centre;
      m_matrix = Chain({TranslateMatrix(-c.x, -c.y, -c.z), ScaleMatrix(s), SwapMatrix(), TurnAzimuthMatrix(a),
                        TurnInclinationMatrix(i), TranslateMatrix(0, 0, s * ws.viewDistance() + 500),
                        WeightMatrix(1.0 / 500), ScaleMatrix(ws.zoomPercent() * factor / 100)});
      break;
    }
    default:  // the survey protocol projects nothing
      m_matrix = Matrix4{};
      break;
  }
}

void ViewTransform::FillSlots(const doc::SurveyStore& store, DisplayType type) {
  const size_t count = store.records.size();
  const DisplayType kind = type;
  const bool extras =
      kind == DisplayType::Perspective || kind == DisplayType::RedGreen || kind == DisplayType::Animation;
  // Every slot is written below; a drawing of the same records reuses the
  // memory instead of clearing it first.
  m_slots.resize(count);
  if (extras) {
    m_extras.assign(count, ProjectionExtras{});
  } else {
    m_extras = {};
  }
  constexpr size_t kAhead = 4;  // records fetched ahead: each lies in memory of its own
  for (size_t n = 0; n < count; ++n) {
    if (n + kAhead < count) {
      const doc::SurveyRecord& next = *store.records[n + kAhead];
      __builtin_prefetch(&next.refX);
      if (extras) {
        __builtin_prefetch(&next.altCoords[0]);
        __builtin_prefetch(&next.altCoords[11]);
      }
    }
    const doc::SurveyRecord& r = *store.records[n];
    ProjectionSlots& s = m_slots[n];
    switch (kind) {
      case DisplayType::Plan:
      case DisplayType::Parallel:
      case DisplayType::Elevation:
      case DisplayType::Perspective:
        s.from = draw::ProjectPoint(m_matrix, FromPoint(r));
        s.to = draw::ProjectPoint(m_matrix, ToPoint(r));
        if (kind == DisplayType::Perspective) {
          ProjectionExtras& e = m_extras[n];
          for (int k = 0; k < 4; ++k) {
            e.wall[k] = draw::ProjectPoint(m_matrix, WallPoint(r, k));
            e.wallTo[k] = s.to;
          }
        }
        break;
      case DisplayType::Section:
        s.from = draw::ProjectPoint(m_matrix, SectionFrom(r));
        s.to = draw::ProjectPoint(m_matrix, SectionTo(r));
        break;
      case DisplayType::RedGreen:
        s.from = draw::ProjectPoint(m_matrix, FromPoint(r));
        s.to = draw::ProjectPoint(m_matrix, ToPoint(r));
        m_extras[n].rightFrom = draw::ProjectPoint(m_rightMatrix, FromPoint(r));
        m_extras[n].rightTo = draw::ProjectPoint(m_rightMatrix, ToPoint(r));
        break;
      case DisplayType::Animation: {
        const Segment leg = ProjectSegment(m_matrix, FromPoint(r), ToPoint(r));
        s.from = leg.from;
        s.to = leg.to;
        for (int k = 0; k < 4; ++k) {
          const Segment wall = ProjectSegment(m_matrix, ToPoint(r), WallPoint(r, k));
          m_extras[n].wallTo[k] = wall.from;
          m_extras[n].wall[k] = wall.to;
        }
        break;
      }
      default: s = ProjectionSlots{}; break;
    }
  }
}

bool CameraShowsSurvey(const ViewTransform& view, const doc::SurveyStore& store, int width, int height) {
  const double halfW = width / 2.0, halfH = height / 2.0;
  const auto slots = view.slots();
  for (size_t n = 0; n < store.records.size() && n < slots.size(); ++n) {
    const Vec3& a = slots[n].from;
    const Vec3& b = slots[n].to;
    if (a.z == kHiddenDepth && b.z == kHiddenDepth) continue;
    // The leg's box against the window: a leg crossing the window with both
    // ends outside still shows.
    if (std::max(a.x, b.x) >= -halfW && std::min(a.x, b.x) <= halfW && std::max(a.y, b.y) >= -halfH &&
        std::min(a.y, b.y) <= halfH)
      return true;
  }
  return false;
}

bool CentreCameraOnSurvey(ViewTransform& view, const doc::SurveyStore& store, doc::Worksheet& worksheet, int width,
                          int height) {
  if (!doc::IsCameraType(worksheet.displayType()) || store.records.empty()) return false;
  if (CameraShowsSurvey(view, store, width, height)) return false;
  view.setRecentre(true);
  worksheet.setViewDistance(0);
  view.setProjectionDirty(true);
  return true;
}

}  // namespace hp::draw
