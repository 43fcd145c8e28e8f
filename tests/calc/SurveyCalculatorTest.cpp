// The survey data calculator: each kind of entry with the instrument
// corrections, reversing a leg, what OK hands back to the record, refused
// entries, and the station distance.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "base/FixedText.h"
#include "calc/SurveyCalculator.h"
#include "doc/SurveyStore.h"

namespace hp::calc {
namespace {

constexpr uint32_t kHorizontal = 0, kNadiral = 1, kZenital = 2;

struct InstrumentSetup {
  uint32_t azimuthUnit = 0, inclinationUnit = 0, vertical = kHorizontal;
  double declination = 0, sagCoefficient = 0, meridian = 0;
};

doc::DocumentSettings Settings(const InstrumentSetup& s) {
  doc::DocumentSettings settings;
  doc::SetDefaultSettings(settings);
  settings.instruments[0] = {s.azimuthUnit, s.declination, s.inclinationUnit, s.vertical};
  settings.instrumentSagCoefficient[0] = s.sagCoefficient;
  settings.meridianConvergence = s.meridian;
  return settings;
}

doc::SurveyRecord Leg(double length, double azimuth, double inclination, int instrument = 1) {
  doc::SurveyRecord r;
  r.length = length, r.azimuth = azimuth, r.inclination = inclination, r.instrument = instrument;
  return r;
}

void EnterCoordinates(SurveyCalculator& calc, double x, double y, double z) {
  // Typed one after the other, each field left in turn.
  EXPECT_FALSE(calc.Enter(CalcField::X, x));
  EXPECT_FALSE(calc.Enter(CalcField::Y, y));
  EXPECT_FALSE(calc.Enter(CalcField::Z, z));
}

TEST(SurveyCalculator, PolarValuesWithCorrections) {
  const struct {
    const char* name;
    InstrumentSetup setup;
    double length, azimuth, inclination;
    double x, y, z, corrected, horizontal;
  } cases[] = {
      {"east", {}, 10, 90, 0, 10, 0, 0, 10, 10},
      {"3-4-5 upwards", {}, 5, 0, 36.869897645844, 0, 4, 3, 5, 4},
      {"nadiral 90 is level", {.vertical = kNadiral}, 10, 0, 90, 0, 10, 0, 10, 10},
      {"nadiral 0 is down", {.vertical = kNadiral}, 10, 0, 0, 0, 0, -10, 10, 0},
      {"sag shortens a level leg", {.sagCoefficient = -0.1}, 10, 0, 0, 0, 9, 0, 9, 9},
      {"sag leaves a vertical leg", {.sagCoefficient = -0.1}, 10, 0, 90, 0, 0, 10, 10, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SurveyCalculator calc(Leg(c.length, c.azimuth, c.inclination), Settings(c.setup));
    const CalcValues& v = calc.Values();
    EXPECT_NEAR(v.x, c.x, 1e-9);
    EXPECT_NEAR(v.y, c.y, 1e-9);
    EXPECT_NEAR(v.z, c.z, 1e-9);
    EXPECT_NEAR(v.correctedLength, c.corrected, 1e-9);
    EXPECT_NEAR(v.horizontal, c.horizontal, 1e-9);
    EXPECT_EQ(v.down, c.z < 0);
  }
}

// Typed coordinates give the polar values; whatever the instrument's
// corrections, those polar values give the coordinates back, also when they
// are stored and opened again.
TEST(SurveyCalculator, CoordinatesGivePolarValuesAndBack) {
  const double any = NAN;  // polar values not checked
  const struct {
    const char* name;
    InstrumentSetup setup;
    double x, y, z;
    double length, azimuth, inclination;
    // clang-format off
  } cases[] = {
      {"3/4/0", {}, 3, 4, 0, 5, 36.87, 0},
      {"negative directions wrap into the circle", {}, -3, -4, 0, 5, 216.87, 0},
      {"straight up", {}, 0, 0, 5, 5, 0, 90},
      {"straight down", {}, 0, 0, -5, 5, 0, -90},
      {"straight up, zenital", {.vertical = kZenital}, 0, 0, 5, 5, 0, 0},
      {"straight down, nadiral", {.vertical = kNadiral}, 0, 0, -5, 5, 0, 0},
      {"level, nadiral", {.vertical = kNadiral}, 3, 4, 0, 5, 36.87, 90},
      {"upwards, zenital", {.vertical = kZenital}, 0, 4, 3, 5, 0, 53.13},
      {"gon", {.azimuthUnit = 1, .inclinationUnit = 1}, 3, 4, 0, 5, 40.97, 0},
      {"straight up in gon", {.inclinationUnit = 1}, 0, 0, 5, 5, 0, 100},
      {"declination taken off", {.declination = 10}, 0, 5, 0, 5, 350, 0},
      {"nothing", {}, 0, 0, 0, 0, 0, 0},
      {"gon, convergence", {.azimuthUnit = 1, .inclinationUnit = 1, .meridian = 1.8}, 12.34, -5.67, 2.5, any, any, any},
      {"gon, convergence, down", {.azimuthUnit = 1, .inclinationUnit = 1, .meridian = 1.8}, -3, 4, -1.2, any, any, any},
      {"degrees, declination and convergence", {.declination = 3.5, .meridian = -1.2}, 7.1, 0.4, -3.3, any, any, any},
      {"nadiral with sag", {.vertical = kNadiral, .sagCoefficient = -0.02}, 4.5, 8.25, 1.75, any, any, any},
      {"gon zenital with sag and declination",
       {.azimuthUnit = 1, .inclinationUnit = 1, .vertical = kZenital, .declination = 5, .sagCoefficient = -0.05},
       -6.02, -2.2, 3.14, any, any, any},
      {"due north after the convergence", {.azimuthUnit = 1, .meridian = 1.8}, 0, 9.99, 0, any, any, any},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyCalculator calc(Leg(1, 0, 0), Settings(c.setup));
    EnterCoordinates(calc, c.x, c.y, c.z);
    const CalcValues& v = calc.Values();
    if (!std::isnan(c.length)) {
      EXPECT_NEAR(v.length, c.length, 1e-9);
      EXPECT_NEAR(v.azimuth, c.azimuth, 1e-9);
      EXPECT_NEAR(v.inclination, c.inclination, 1e-9);
    }
    EXPECT_NEAR(v.x, c.x, 1e-9);
    EXPECT_NEAR(v.y, c.y, 1e-9);
    EXPECT_NEAR(v.z, c.z, 1e-9);
    EXPECT_GE(v.azimuth, 0);
    EXPECT_LE(v.azimuth, calc.Instrument().FullCircle());
    doc::SurveyRecord stored = Leg(0, 0, 0);
    calc.Apply(stored);
    const CalcValues again = SurveyCalculator(stored, Settings(c.setup)).Values();
    EXPECT_EQ(std::tuple(again.x, again.y, again.z), std::tuple(v.x, v.y, v.z));
  }
}

TEST(SurveyCalculator, HeightsGiveTheInclination) {
  const struct {
    const char* name;
    InstrumentSetup setup;
    double length, start, end;
    double inclination;
    bool down;
  } cases[] = {
      {"100 to 97", {}, 5, 100, 97, -36.87, true},
      {"97 to 100", {}, 5, 97, 100, 36.87, false},
      {"100 to 97, zenital", {.vertical = kZenital}, 5, 100, 97, 126.87, true},
      {"100 to 97, nadiral", {.vertical = kNadiral}, 5, 100, 97, 53.13, true},
      {"higher than the leg is long", {}, 5, 0, 7, 90, false},
      {"deeper than the leg is long, gon", {.inclinationUnit = 1}, 5, 0, -7, -100, true},
      {"deeper than the leg is long, nadiral", {.vertical = kNadiral}, 5, 0, -7, 0, true},
      {"no length", {}, 0, 0, 3, 0, false},
      {"no length, zenital", {.vertical = kZenital}, 0, 0, 3, 90, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyCalculator calc(Leg(c.length, 45, c.setup.vertical == kHorizontal ? 0 : 90), Settings(c.setup));
    EXPECT_FALSE(calc.Enter(CalcField::StartHeight, c.start));
    EXPECT_FALSE(calc.Enter(CalcField::EndHeight, c.end));
    EXPECT_NEAR(calc.Values().inclination, c.inclination, 1e-9);
    EXPECT_EQ(calc.Values().down, c.down);
    EXPECT_NEAR(calc.Values().endHeight - calc.Values().startHeight, calc.Values().z, 1e-9);
  }
}

TEST(SurveyCalculator, VerticalLegsLoseTheirAzimuth) {
  SurveyCalculator calc(Leg(5, 123, 10), Settings({}));
  EXPECT_FALSE(calc.Enter(CalcField::EndHeight, 6));
  EXPECT_EQ(calc.Values().inclination, 90);
  EXPECT_EQ(calc.Values().azimuth, 0);
  // A steep but not vertical leg keeps it.
  SurveyCalculator steep(Leg(5, 123, 10), Settings({}));
  EXPECT_FALSE(steep.Enter(CalcField::EndHeight, 4.99));
  EXPECT_EQ(steep.Values().azimuth, 123);
}

// With a sagging tape the height difference or the horizontal length has to
// be solved for; the found inclination must reproduce the typed value within
// the rounding of the inclination to hundredths.
TEST(SurveyCalculator, HeightsAndHorizontalLengthsWithSagAreSolved) {
  const struct {
    CalcField field;
    double CalcValues::*shown;
    std::vector<double> typed;
  } cases[] = {
      {CalcField::EndHeight, &CalcValues::endHeight, {-9.5, -6, -0.3, 0, 2.2, 7.77, 9.9}},
      {CalcField::Horizontal, &CalcValues::horizontal, {0, 1.5, 4.44, 8.8, 9.2}},
  };
  for (const auto& c : cases) {
    for (const double typed : c.typed) {
      SCOPED_TRACE(typed);
      SurveyCalculator calc(Leg(10, 0, 0), Settings({.sagCoefficient = -0.08}));
      EXPECT_FALSE(calc.Enter(c.field, typed));
      EXPECT_NEAR(calc.Values().*c.shown, typed, 0.011);
      if (c.field == CalcField::EndHeight) {
        EXPECT_NEAR(calc.Values().z, typed, 0.011);
      }
    }
  }
}

TEST(SurveyCalculator, HorizontalLength) {
  const struct {
    const char* name;
    InstrumentSetup setup;
    double length, inclination, horizontal;
    double wantInclination;
  } cases[] = {
      {"longer than the leg is cut back", {}, 5, 20, 7, 0},
      {"as long as the leg", {}, 5, 20, 5, 0},
      {"3 of 5 going up", {}, 5, 20, 3, 53.13},
      {"3 of 5 going down", {}, 5, -20, 3, -53.13},
      {"negative is straight up", {}, 5, 20, -1, 90},
      {"negative going down is straight down", {}, 5, -20, -1, -90},
      {"negative in gon", {.inclinationUnit = 1}, 5, 20, -1, 100},
      {"zenital", {.vertical = kZenital}, 5, 70, 3, 36.87},
      {"no length", {}, 0, 20, 3, 0},
      {"full length with sag", {.sagCoefficient = -0.1}, 10, 20, 9, 0},
      // The root comes out a hair above 1 here; it must still mean level.
      {"full length with sag, rounded past 1", {.sagCoefficient = -0.019}, 10, 20, 9.81, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyCalculator calc(Leg(c.length, 30, c.inclination), Settings(c.setup));
    EXPECT_FALSE(calc.Enter(CalcField::Horizontal, c.horizontal));
    EXPECT_NEAR(calc.Values().inclination, c.wantInclination, 1e-9);
    EXPECT_EQ(calc.Values().length, c.length);
    EXPECT_TRUE(std::isfinite(calc.Values().x));
  }
  SurveyCalculator cut(Leg(5, 30, 20), Settings({}));
  EXPECT_FALSE(cut.Enter(CalcField::Horizontal, 7));
  EXPECT_EQ(cut.Values().horizontal, 5);
}

TEST(SurveyCalculator, LengthsAndReadings) {
  SurveyCalculator calc(Leg(5, 0, 0), Settings({.sagCoefficient = -0.1}));
  EXPECT_FALSE(calc.Enter(CalcField::StartReading, 100));
  EXPECT_EQ(calc.Values().length, -95);  // the end reading was 5
  EXPECT_FALSE(calc.Enter(CalcField::EndReading, 112.4));
  EXPECT_NEAR(calc.Values().length, 12.4, 1e-9);
  EXPECT_NEAR(calc.Values().endReading, 112.4, 1e-9);
  EXPECT_FALSE(calc.Enter(CalcField::StartReading, 110));
  EXPECT_NEAR(calc.Values().length, 2.4, 1e-9);
  // The corrected length gives back the length the tape must have shown.
  EXPECT_FALSE(calc.Enter(CalcField::CorrectedLength, 4.5));
  EXPECT_NEAR(calc.Values().length, 5, 1e-9);
  EXPECT_EQ(calc.Values().correctedLength, 4.5);
  EXPECT_NEAR(calc.Values().endReading, 115, 1e-9);
}

TEST(SurveyCalculator, GoingDownMirrorsTheLeg) {
  const struct {
    const char* name;
    InstrumentSetup setup;
    double inclination, mirrored;
  } cases[] = {
      {"horizontal", {}, 20, -20},
      {"nadiral", {.vertical = kNadiral}, 60, 120},
      {"zenital gon", {.inclinationUnit = 1, .vertical = kZenital}, 50, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyCalculator calc(Leg(10, 0, c.inclination), Settings(c.setup));
    const double z = calc.Values().z;
    calc.ToggleDown();
    EXPECT_NEAR(calc.Values().inclination, c.mirrored, 1e-9);
    EXPECT_NEAR(calc.Values().z, -z, 1e-9);
    EXPECT_EQ(calc.Values().down, z > 0);
  }
}

TEST(SurveyCalculator, ReversedLegs) {
  const struct {
    const char* name;
    InstrumentSetup setup;
    double azimuth, inclination;
    double shownAzimuth, shownInclination;
  } cases[] = {
      {"degrees", {}, 10, 5, 190, -5},
      {"past the half circle", {}, 190, -5, 10, 5},
      {"exactly the half circle", {}, 180, 0, 0, 0},
      {"gon", {.azimuthUnit = 1, .inclinationUnit = 1}, 250, 30, 50, -30},
      {"nadiral", {.vertical = kNadiral}, 10, 30, 190, 150},
      {"zenital gon inclination", {.inclinationUnit = 1, .vertical = kZenital}, 10, 30, 190, 170},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    doc::SurveyRecord r = Leg(7, c.azimuth, c.inclination);
    r.calculator = {3, 50, 1};
    SurveyCalculator calc(r, Settings(c.setup));
    EXPECT_NEAR(calc.Values().azimuth, c.shownAzimuth, 1e-9);
    EXPECT_NEAR(calc.Values().inclination, c.shownInclination, 1e-9);
    doc::SurveyRecord back = Leg(0, 0, 0);
    calc.Apply(back);
    EXPECT_NEAR(back.azimuth, c.azimuth, 1e-9);
    EXPECT_NEAR(back.inclination, c.inclination, 1e-9);
    EXPECT_EQ(back.length, 7);
    EXPECT_EQ(back.calculator.startReading, 3);
    EXPECT_EQ(back.calculator.startHeight, 50);
    EXPECT_EQ(back.calculator.reverse, 1);
  }
}

// OK writes length, angles and the calculator state and leaves the record's
// other fields alone.
TEST(SurveyCalculator, TickingReverseActsOnOk) {
  doc::SurveyRecord r = Leg(7, 10, 5, 3);
  r.tapeStart = 1, r.tapeEnd = 9;
  base::SetText(r.date, "01.02.2003");
  SurveyCalculator calc(r, Settings({}));
  calc.SetReverse(true);
  EXPECT_EQ(calc.Values().azimuth, 10);  // nothing changes yet
  calc.Apply(r);
  EXPECT_EQ(std::tuple(r.azimuth, r.inclination, r.calculator.reverse), std::tuple(190, -5, 1));
  EXPECT_EQ(std::tuple(r.length, r.instrument, r.tapeStart, r.tapeEnd), std::tuple(7, 3, 1, 9));
  EXPECT_EQ(base::TextOf(r.date), "01.02.2003");

  // A reversed leg typed as coordinates is stored turned round.
  SurveyCalculator typed(Leg(7, 10, 5), Settings({}));
  typed.SetReverse(true);
  EnterCoordinates(typed, -3, -4, 0);
  doc::SurveyRecord stored = Leg(0, 0, 0);
  typed.Apply(stored);
  EXPECT_NEAR(stored.azimuth, 36.87, 1e-9);
  EXPECT_NEAR(stored.length, 5, 1e-9);
}

TEST(SurveyCalculator, TypedTexts) {
  const struct {
    const char* name;
    InstrumentSetup setup;
    CalcField field;
    const char* typed;
    const char* message;  // empty: accepted
  } cases[] = {
      {"decimal comma", {}, CalcField::Length, "3,5", ""},
      {"not a number", {}, CalcField::Length, "3m", "Bitte eine Zahl eingeben."},
      {"azimuth past the full circle", {}, CalcField::Azimuth, "360,5", "Bitte eine Zahl zwischen 0 und 360 eingeben."},
      {"negative azimuth", {}, CalcField::Azimuth, "-1", "Bitte eine Zahl zwischen 0 und 360 eingeben."},
      {"gon azimuth", {.azimuthUnit = 1}, CalcField::Azimuth, "399", ""},
      {"gon, no number", {.azimuthUnit = 1}, CalcField::Azimuth, "x", "Bitte eine Zahl zwischen 0 und 400 eingeben."},
      {"too steep", {}, CalcField::Inclination, "-90,01", "Bitte eine Zahl zwischen -90 und 90 eingeben."},
      {"gon", {.inclinationUnit = 1}, CalcField::Inclination, "-100", ""},
      {"zenital", {.vertical = kZenital}, CalcField::Inclination, "-5", "Bitte eine Zahl zwischen 0 und 180 eingeben."},
      {"nadiral gon", {.inclinationUnit = 1, .vertical = kNadiral}, CalcField::Inclination, "200", ""},
      {"huge coordinate", {}, CalcField::X, "1e300", "Bitte eine Zahl zwischen -1000000000 und 1000000000 eingeben."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyCalculator calc(Leg(5, 30, 0), Settings(c.setup));
    const CalcValues before = calc.Values();
    calc.MarkChanged();
    const auto refusal = calc.Leave(c.field, c.typed);
    EXPECT_FALSE(calc.Changed());
    if (*c.message == 0) {
      EXPECT_FALSE(refusal);
      continue;
    }
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, c.message);
    EXPECT_EQ(calc.Values().length, before.length);
    EXPECT_EQ(calc.Values().azimuth, before.azimuth);
    EXPECT_EQ(calc.Values().x, before.x);
  }
}

TEST(SurveyCalculator, LeavingAnUneditedFieldComputesNothing) {
  SurveyCalculator calc(Leg(5.123456, 30, 0), Settings({}));
  EXPECT_EQ(calc.Text(CalcField::Length), "5,12");
  EXPECT_FALSE(calc.Leave(CalcField::Length, calc.Text(CalcField::Length)));
  EXPECT_EQ(calc.Values().length, 5.123456);  // the shown rounding does not creep in
  calc.MarkChanged();
  EXPECT_FALSE(calc.Leave(CalcField::Length, "6,5"));
  EXPECT_EQ(calc.Values().length, 6.5);
  EXPECT_EQ(calc.Text(CalcField::EndReading), "6,50");
}

// A record without instrument is computed in degrees without any correction,
// not even the meridian convergence.
TEST(SurveyCalculator, RecordWithoutInstrument) {
  const SurveyCalculator none(Leg(10, 90, 0, 0), Settings({.azimuthUnit = 1, .meridian = 5}));
  EXPECT_NEAR(none.Values().x, 10, 1e-9);
  EXPECT_NEAR(none.Values().y, 0, 1e-9);
  EXPECT_EQ(none.Instrument().FullCircle(), 360);
}

// ---- "Messpunktabstand" ----------------------------------------------------

doc::SurveyRecord Station(int cave, int passage, const char* point, double x, double y, double z) {
  doc::SurveyRecord r;
  r.cave = cave, r.passage = passage, r.x = x, r.y = y, r.z = z;
  base::SetText(r.point, point);
  return r;
}

TEST(StationDistance, FromTheMarkedOrTheReferenceStation) {
  doc::DocumentSettings settings = Settings({});
  base::SetText(settings.instrumentNames[0], "Kompass");
  doc::SurveyRecord current = Station(1, 2, "B7", 13, 24, 4);
  current.refCave = 1, current.refPassage = 2;
  base::SetText(current.refPoint, "B6");
  current.refX = 10, current.refY = 20, current.refZ = 4;

  const StationDistance r = ComputeStationDistance(current, nullptr, settings);
  EXPECT_EQ(std::tuple(r.referencePoint, r.point, r.cave, r.passage, r.instrument),
            std::tuple("B6", "B7", 1, 2, "1: Kompass"));
  EXPECT_EQ((std::array{r.length, r.horizontal, r.azimuth, r.inclination}), (std::array{5.0, 5.0, 36.87, 0.0}));

  const doc::SurveyRecord marked = Station(3, 4, "M", 13, 24, 9);
  const StationDistance fromMark = ComputeStationDistance(current, &marked, settings);
  EXPECT_EQ(std::tuple(fromMark.referenceCave, fromMark.referencePassage, fromMark.referencePoint),
            std::tuple(3, 4, "M"));
  EXPECT_EQ((std::array{fromMark.z, fromMark.horizontal, fromMark.inclination}), (std::array{-5.0, 0.0, -90.0}));
}

TEST(StationDistance, AnglesInTheInstrumentsUnits) {
  doc::DocumentSettings settings =
      Settings({.azimuthUnit = 1, .inclinationUnit = 1, .vertical = kZenital, .declination = 7, .meridian = 2});
  const struct {
    const char* name;
    int instrument;
    double azimuth, inclination;
  } cases[] = {
      {"gon, without corrections or zero direction", 1, -50, 50},
      {"degrees for an instrument of another unit", 2, -45, 45},
      {"17 is outside the table", 17, -45, 45},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    doc::SurveyRecord current = Station(1, 1, "A", -3, 3, std::sqrt(18.0));
    current.instrument = c.instrument;
    const StationDistance d = ComputeStationDistance(current, nullptr, settings);
    EXPECT_NEAR(d.azimuth, c.azimuth, 1e-9);
    EXPECT_NEAR(d.inclination, c.inclination, 1e-9);
    EXPECT_EQ(d.length, 6);
    EXPECT_EQ(d.x, -3);
    EXPECT_EQ(d.horizontal, 4.24);
  }
}

TEST(StationDistance, InstrumentLabels) {
  doc::DocumentSettings settings = Settings({});
  base::SetText(settings.instrumentNames[15], "Neigungsmesser");
  EXPECT_EQ(InstrumentLabel(0, settings), "0: Kein Ger\xE4t");
  EXPECT_EQ(InstrumentLabel(-2, settings), "0: Kein Ger\xE4t");
  EXPECT_EQ(InstrumentLabel(16, settings), "16: Neigungsmesser");
  EXPECT_EQ(InstrumentLabel(17, settings), "17");
}

}  // namespace
}  // namespace hp::calc
