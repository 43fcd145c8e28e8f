// Shared helpers of the drawing tests: a store and a worksheet that draws
// bare legs, and what the recording surface received.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "doc/SurveyStore.h"
#include "draw/Projection.h"
#include "draw/RecordingSurface.h"
#include "draw/ViewTransform.h"
#include "platform/SettingsStore.h"
#include "support/Survey.h"

namespace hp::test {

inline void ExpectNear(const draw::Vec3& actual, const draw::Vec3& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-6);
  EXPECT_NEAR(actual.y, expected.y, 1e-6);
  EXPECT_NEAR(actual.z, expected.z, 1e-6);
}

// Default settings, no current record, and a worksheet without origin
// station, colour modes, title, page label, station marks, numbers, grid
// crosses or file symbols.
class DrawingTest : public ::testing::Test {
 protected:
  using Kind = draw::RecordedPrimitive::Kind;

  DrawingTest() {
    doc::SetDefaultSettings(store.settings);
    doc::InitWorksheet(ws);
    ws.setOriginPoint("");
    ws.setLineColourMode(0), ws.setShowTitleAndPageLabel(0), ws.setStationMark(0), ws.setStationNumbering(0);
    ws.setGridCrosses(0), ws.setFileSymbol(0);
    store.settings.currentRecordNumber = 0;
  }
  doc::SurveyRecord& Add(std::string_view text) { return AddRecords(store, text); }
  // The device point of drawing coordinates in a drawing `result`.
  template <class Result>
  static draw::Point At(const Result& result, double x, double y) {
    const draw::DevicePoint d = draw::ToDevice(x, y, result.scale, result.ox, result.oy);
    return {d.x, d.y};
  }
  std::vector<draw::RecordedPrimitive> Of(Kind kind) const {
    std::vector<draw::RecordedPrimitive> out;
    for (const auto& p : surface.primitives())
      if (p.kind == kind) out.push_back(p);
    return out;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& p : Of(Kind::Text)) out.push_back(p.text);
    return out;
  }

  doc::SurveyStore store;
  doc::Worksheet ws;
  platform::MemorySettingsStore settings;
  draw::ViewTransform view;
  draw::RecordingSurface surface;
};

}  // namespace hp::test
