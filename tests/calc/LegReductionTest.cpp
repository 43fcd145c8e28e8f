// Leg reduction: instrument corrections, survey dates, sag and entry ranges.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/CalcTestSupport.h"
#include "calc/LegReduction.h"

namespace hp::calc {
namespace {

using test::AddLeg;
using test::EmptySurvey;

constexpr double kGonInDegrees = kGonFactor / kDegreeFactor;

TEST(LegReduction, InstrumentCorrections) {
  const struct {
    const char* name;
    uint32_t azimuthUnit, inclinationUnit, vertical;
    double declination, year, change;
    const char* date;
    double meridian, azimuth, inclination, azimuthDeg, elevationDeg;
  } cases[] = {
      {"gon azimuth", 1, 0, 0, 0, 0, 0, "", 0, 100, 0, 100 * kGonInDegrees, 0},
      {"meridian convergence", 0, 0, 0, 0, 0, 0, "", 1.5, 30, 0, 28.5, 0},
      {"annual change", 0, 0, 0, 2, 2000, 0.1, "01.07.2010", 0, 10, 0, 13.05, 0},
      {"no date", 0, 0, 0, 2, 2000, 0.1, "", 0, 10, 0, 12, 0},
      {"change in gon", 1, 0, 0, 0, 2000, 1, "01.01.2010", 0, 90, 0, 100 * kGonInDegrees, 0},
      {"nadiral 0 is down", 0, 0, 1, 0, 0, 0, "", 0, 0, 0, 0, -90},
      {"zenital 0 is up", 0, 0, 2, 0, 0, 0, "", 0, 0, 0, 0, 90},
      {"other values are zenital", 0, 0, 7, 0, 0, 0, "", 0, 0, 30, 0, 60},
      {"gon inclination", 0, 1, 0, 0, 0, 0, "", 0, 0, 50, 0, 50 * kGonInDegrees},
      {"gon zenital 100", 0, 1, 2, 0, 0, 0, "", 0, 0, 100, 0, 90 - 100 * kGonInDegrees},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto store = EmptySurvey();
    doc::DocumentSettings& s = store->settings;
    s.instruments[3] = {c.azimuthUnit, c.declination, c.inclinationUnit, c.vertical};
    s.instrumentYear[3] = c.year;
    s.instrumentChange[3] = c.change;
    s.meridianConvergence = c.meridian;
    doc::SurveyRecord& r = AddLeg(*store, "A", "B", 10, c.azimuth, c.inclination);
    r.instrument = 4;
    base::SetText(r.date, c.date);
    const LegVector leg = ReduceLeg(r, s);
    EXPECT_NEAR(leg.azimuthDeg, c.azimuthDeg, 1e-9);
    EXPECT_NEAR(leg.elevationDeg, c.elevationDeg, 1e-9);
    EXPECT_NEAR(leg.sinEl, std::sin(c.elevationDeg * kDegreeFactor), 1e-9);
    EXPECT_NEAR(leg.cosAz, std::cos(c.azimuthDeg * kDegreeFactor), 1e-9);
  }
}

TEST(LegReduction, SurveyDateAndInstrumentNumber) {
  doc::SurveyRecord r;
  base::SetText(r.date, "xx.03.1999");  // a piece without a number counts 0
  EXPECT_NEAR(SurveyDate(r), 1999 + 2.0 / 12 - 1.0 / 372, 1e-9);
  r.instrument = 17;  // beyond the table: the first entry
  EXPECT_EQ(InstrumentIndex(r), 0);
  r.instrument = 0;
  EXPECT_EQ(InstrumentIndex(r), std::nullopt);
}

TEST(LegReduction, WithoutInstrumentDerivesRoundedAnglesFromCoordinates) {
  auto store = EmptySurvey();
  store->settings.meridianConvergence = 1.5;  // applies only to measured legs
  doc::SurveyRecord& r = AddLeg(*store, "A", "B", 99);
  r.instrument = 0;
  r.refX = 10, r.refY = 20, r.refZ = 30, r.x = 11, r.y = 23, r.z = 28;
  const LegVector leg = ReduceLeg(r, store->settings);
  EXPECT_EQ(leg.azimuthDeg, 18.43);
  EXPECT_EQ(leg.elevationDeg, -32.31);
  EXPECT_EQ(leg.sinAz, std::sin(leg.azimuthDeg * kDegreeFactor));
}

TEST(LegReduction, DividerReplacesLengthOnlyWithReadings) {
  const struct {
    double divider, start, end, length;
  } cases[] = {{2, 100, 112.4, 6.2}, {2, 0, 0, 50}, {0, 100, 112.4, 50}, {4, 0, 10, 2.5}};
  for (const auto& c : cases) {
    auto store = EmptySurvey();
    store->settings.instrumentDivider[0] = c.divider;
    doc::SurveyRecord& r = AddLeg(*store, "A", "B", 50);
    r.tapeStart = c.start, r.tapeEnd = c.end;
    EXPECT_NEAR(ReduceLeg(r, store->settings).reducedLength, c.length, 1e-12);
    EXPECT_EQ(r.length, ReduceLeg(r, store->settings).reducedLength);
  }
}

TEST(LegReduction, SagShortensLevelLegsMostAndVerticalOnesNot) {
  EXPECT_EQ(SagCoefficient(0), 0);
  const double s = 1.1, sinhU = std::sqrt(s * s - 1);
  EXPECT_NEAR(SagCoefficient(10), (std::acosh(s) - sinhU) / sinhU, 1e-12);
  EXPECT_LT(SagCoefficient(100), SagCoefficient(10));
  auto store = EmptySurvey();
  doc::DocumentSettings& settings = store->settings;
  settings.instrumentSag[0] = settings.instrumentSag[1] = 10;
  settings.instruments[1].verticalReference = 1;  // nadiral: 0 is exactly down
  UpdateSagCoefficients(settings);
  EXPECT_EQ(settings.instrumentSagCoefficient[2], 0);
  const double level = ReduceLeg(AddLeg(*store, "A", "B", 10, 0, 0), settings).reducedLength;
  EXPECT_NEAR(level, 10 * (1 + SagCoefficient(10)), 1e-12);
  const double sloped = ReduceLeg(AddLeg(*store, "A", "B", 10, 0, 60), settings).reducedLength;
  EXPECT_LT(sloped, 10);
  EXPECT_GT(sloped, level);
  doc::SurveyRecord& shaft = AddLeg(*store, "A", "B", 10, 0, 0);
  shaft.instrument = 2;
  EXPECT_EQ(ReduceLeg(shaft, settings).reducedLength, 10);
}

TEST(LegReduction, AngleEntryRangesFollowTheInstrument) {
  const struct {
    int instrument;
    uint32_t azimuthUnit, inclinationUnit, vertical;
    double azimuthMax, inclinationMin, inclinationMax;
  } cases[] = {
      {1, 1, 1, 0, 400, -100, 100}, {1, 0, 0, 1, 360, 0, 180}, {1, 1, 0, 2, 400, 0, 180}, {0, 0, 0, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    auto store = EmptySurvey();
    store->settings.instruments[0] = {c.azimuthUnit, 0, c.inclinationUnit, c.vertical};
    doc::SurveyRecord r;
    r.instrument = c.instrument;
    const AngleRanges ranges = AngleEntryRanges(r, store->settings);
    EXPECT_EQ(ranges.limited, c.instrument != 0);
    EXPECT_EQ(ranges.azimuthMax, c.azimuthMax);
    EXPECT_EQ(ranges.inclinationMin, c.inclinationMin);
    EXPECT_EQ(ranges.inclinationMax, c.inclinationMax);
  }
}

}  // namespace
}  // namespace hp::calc
