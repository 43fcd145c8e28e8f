// The view transform of one document: which records take part and their
// extent, the reference station, the projection matrix of the worksheet's
// display type, and each record's projected points (the projection slots,
// kept beside the records by list position).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "calc/LoopQuality.h"
#include "doc/LegFilter.h"
#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/DisplayType.h"
#include "draw/LineColours.h"
#include "draw/Projection.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

struct Extent {
  Vec3 min, max;
  Vec3 Centre() const { return {(min.x + max.x) / 2, (min.y + max.y) / 2, (min.z + max.z) / 2}; }
  // Length of the diagonal, but at least 3.5 (normalises the depth).
  double DepthNormaliser() const;
};

// Where the last build looked from: the worksheet's view direction with the
// inclination held to [-90, 90] and the azimuth to [0, 360), and the point
// the camera view looks at (the middle of the extent after a recentring).
struct ViewPose {
  double azimuth = 0, inclination = 0;
  Vec3 centre;
};

// The pose the worksheet stores, normalised.
ViewPose StoredPose(const doc::Worksheet& worksheet);

// Projected points of one record. Which slots are filled depends on the
// display type: from/to always; rightFrom/rightTo for the red-green view;
// wall/wallTo (left, right, up, down) for the perspective and camera views.
struct ProjectionSlots {
  Vec3 from, to;
};

// What the perspective, red-green and camera views project besides a leg's
// ends. Only those views fill them, so a plan of a million records does not
// carry five times its slots' memory.
struct ProjectionExtras {
  Vec3 rightFrom, rightTo;  // the right eye's leg (red-green view)
  Vec3 wall[4];
  Vec3 wallTo[4];  // the to-point projected beside each wall point
};

// Settings the projections read ("Settings" section).
inline constexpr int kDefaultPerspective = 100;  // "Perspektive", percent
inline constexpr int kDefaultStereoAngle = 3;    // "Alpha", degrees between the eyes

// What the records' line colours were worked out from, besides the
// projection: the colour settings of the worksheet and the records.
struct ColourKey {
  int mode = 0;
  int manualRange = 0;
  double rangeMin = 0, rangeMax = 0;
  int adaptOverview = 0;
  int filterCriterion = 0;
  std::string lineFilter;
  size_t records = 0;
  uint64_t computeGeneration = 0;
  bool operator==(const ColourKey&) const = default;
};

class ViewTransform {
 public:
  // Measures the records that take part: all of them, or with the
  // adapt-overview flag only those with a colour that pass the leg filter.
  // Flat extents are widened by a metre each way. Returns false when no
  // record takes part.
  bool ComputeExtents(const doc::SurveyStore& store, const doc::Worksheet& worksheet);

  // Takes the worksheet's pose (normalised; a pending recentring looks at
  // the middle of the extent), finds the reference station, builds the
  // matrix of the display type and fills every record's slots. `factor`
  // scales the camera view to the screen (1 elsewhere). The perspective,
  // red-green and camera views need ComputeExtents first. The worksheet is
  // left alone: the window keeps the pose with KeepViewPose.
  void PrepareProjection(const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                         const platform::SettingsStore& settings, double factor = 1.0);

  // The pose of the last build; false before the first.
  bool prepared() const { return m_prepared; }
  const ViewPose& pose() const { return m_pose; }

  // The matrix of the last build (left eye for the red-green view).
  const Matrix4& matrix() const { return m_matrix; }
  const Matrix4& rightMatrix() const { return m_rightMatrix; }
  Vec3 ProjectPoint(const Vec3& p) const { return draw::ProjectPoint(m_matrix, p); }

  const Extent& extent() const { return m_extent; }
  void setExtent(const Extent& extent) { m_extent = extent; }
  // The origin station's coordinates (developed-section ones in the section).
  const Vec3& referencePoint() const { return m_reference; }
  // Reference height minus origin Z: depths are measured from it.
  double heightOffset() const { return m_heightOffset; }
  double referencePath() const { return m_referencePath; }
  bool referenceFound() const { return m_referenceFound; }

  std::span<const ProjectionSlots> slots() const { return m_slots; }
  const ProjectionSlots& slot(size_t index) const { return m_slots.at(index); }
  // All zero unless the last build was of a view that fills them.
  const ProjectionExtras& extras(size_t index) const {
    static const ProjectionExtras kNone;
    return index < m_extras.size() ? m_extras[index] : kNone;
  }

  // Set by every change of view, data or window size; the next drawing
  // rebuilds the projection and clears it.
  bool projectionDirty() const { return m_projectionDirty; }
  void setProjectionDirty(bool dirty) { m_projectionDirty = dirty; }
  // Set when the display type changes: the next camera view is centred on
  // the middle of the extent.
  bool recentre() const { return m_recentre; }
  void setRecentre(bool recentre) { m_recentre = recentre; }
  // Size of the projected scene in metres, measured by the spatial drawing;
  // the distance commands step by a tenth of it.
  double sceneSize() const { return m_sceneSize; }
  void setSceneSize(double size) { m_sceneSize = size; }

  doc::LegFilter& legFilter() { return m_filter; }
  // The line colours worked out for the current projection under `key`, or
  // null: a scroll or a zoom draws with them again, a new projection drops
  // them.
  const std::vector<LineColour>* keptColours(const ColourKey& key) const {
    return m_coloursKept && m_colourKey == key ? &m_colours : nullptr;
  }
  void keepColours(ColourKey key, std::vector<LineColour> colours) {
    m_colourKey = std::move(key);
    m_colours = std::move(colours);
    m_coloursKept = true;
  }
  // The loop quality of the store's last compute pass, for the loop-quality
  // colour mode and the station info.
  const calc::LoopQualityCache& loopQuality() const { return m_loopQuality; }

 private:
  void FindReference(const doc::SurveyStore& store, const doc::Worksheet& worksheet, DisplayType type);
  void BuildMatrices(const doc::Worksheet& worksheet, const platform::SettingsStore& settings, DisplayType type,
                     double factor);
  void FillSlots(const doc::SurveyStore& store, DisplayType type);

  doc::LegFilter m_filter;
  calc::LoopQualityCache m_loopQuality;
  Extent m_extent;
  Vec3 m_reference;
  double m_heightOffset = 0;
  double m_referencePath = 0;
  bool m_referenceFound = false;
  bool m_projectionDirty = true;
  bool m_recentre = true;
  bool m_prepared = false;
  ViewPose m_pose;
  double m_sceneSize = 0;
  Matrix4 m_matrix;
  Matrix4 m_rightMatrix;
  std::vector<ProjectionSlots> m_slots;
  std::vector<ProjectionExtras> m_extras;
  ColourKey m_colourKey;
  std::vector<LineColour> m_colours;
  bool m_coloursKept = false;
};

// The pose a drawing looked from when the view has been prepared, else the
// worksheet's own.
ViewPose PoseOf(const ViewTransform& view, const doc::Worksheet& worksheet);

// Stores the pose of the view's last build in the worksheet, so that what
// the window shows is what the document saves and the next turn starts from.
void KeepViewPose(doc::Worksheet& worksheet, const ViewTransform& view);

// Whether the camera view of the last build puts some part of a leg into a
// window of `width` x `height` pixels centred on the eye's axis (the camera
// view draws one unit per pixel). Legs wholly behind the eye show nothing.
bool CameraShowsSurvey(const ViewTransform& view, const doc::SurveyStore& store, int width, int height);

// After an import or load replaced the records: when the camera view
// (display type 5) of the last build shows nothing of the survey, the next
// build looks at the middle of the survey from distance 0, as after choosing
// the display type, and the projection is marked dirty. True when it does.
// Other display types fit the survey into the window by themselves.
bool CentreCameraOnSurvey(ViewTransform& view, const doc::SurveyStore& store, doc::Worksheet& worksheet, int width,
                          int height);

}  // namespace hp::draw
