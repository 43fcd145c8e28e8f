// hollowplan-cli geo utm2geo / geo geo2utm: the exact line printed, the
// exit status and the refusal of wrong arguments.
#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

// The conversions touch no file: a plain in-process run.
Result RunGeo(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCommand(args, out, err);
  return {status, out.str(), err.str()};
}

struct GeoCase {
  std::vector<std::string> args;
  std::string out;
};

class GeoConversions : public testing::TestWithParam<GeoCase> {};

TEST_P(GeoConversions, PrintOneLine) {
  const GeoCase& c = GetParam();
  const Result r = RunGeo(c.args);
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, c.out);
  EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GeoConversions,
    testing::Values(GeoCase{{"geo", "geo2utm", "48", "9"}, "32 U 500000.00 5316300.22\n"},
                    // A leading minus followed by a digit is a number, a decimal comma is accepted.
                    GeoCase{{"geo", "geo2utm", "-33,9", "18.4"}, "34 H 259583.22 6245888.05\n"},
                    GeoCase{{"geo", "geo2utm", "60", "5"}, "32 V 276979.93 6658157.20\n"},
                    GeoCase{{"geo", "geo2utm", "81", "10"}, "32 Y 517463.52 8993354.88\n"},
                    // Zone 61 is printed as computed.
                    GeoCase{{"geo", "geo2utm", "10", "180"}, "61 P 171071.26 1106908.85\n"},
                    GeoCase{{"geo", "geo2utm", "-90", "9"}, "32 A 500000.00 2035.06\n"},
                    GeoCase{{"geo", "utm2geo", "32", "U", "500000", "5316300.22"}, "48.0000000 9.0000000\n"},
                    GeoCase{{"geo", "utm2geo", "34", "H", "259583,22", "6245888,05"}, "-33.9000000 18.4000000\n"},
                    // The letter is not normalised: lower case h is southern as well.
                    GeoCase{{"geo", "utm2geo", "34", "h", "259583.22", "6245888.05"}, "-33.9000000 18.4000000\n"},
                    // A negative northing is read as northern whatever the letter.
                    GeoCase{{"geo", "utm2geo", "31", "M", "500000", "-55265.04"}, "-0.5000000 3.0000000\n"},
                    // Greenwich itself: no "-0.0000000".
                    GeoCase{{"geo", "utm2geo", "31", "N", "166021.44", "0"}, "0.0000000 0.0000000\n"}));

struct RefusedCase {
  std::vector<std::string> args;
};

class GeoRefusals : public testing::TestWithParam<RefusedCase> {};

TEST_P(GeoRefusals, ExitWithStatusTwoAndPrintNothing) {
  const Result r = RunGeo(GetParam().args);
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(Arguments, GeoRefusals,
                         testing::Values(RefusedCase{{"geo"}}, RefusedCase{{"geo", "utm2wgs", "1", "2"}},
                                         RefusedCase{{"geo", "geo2utm", "48"}},
                                         RefusedCase{{"geo", "geo2utm", "48", "9", "10"}},
                                         RefusedCase{{"geo", "utm2geo", "32", "U", "500000"}},
                                         RefusedCase{{"geo", "geo2utm", "48x", "9"}},
                                         RefusedCase{{"geo", "geo2utm", "48", ""}},
                                         RefusedCase{{"geo", "utm2geo", "32.5", "U", "500000", "5316300"}},
                                         RefusedCase{{"geo", "utm2geo", "99999999999", "U", "500000", "5316300"}},
                                         RefusedCase{{"geo", "utm2geo", "32", "UT", "500000", "5316300"}},
                                         RefusedCase{{"geo", "utm2geo", "32", "", "500000", "5316300"}},
                                         RefusedCase{{"geo", "utm2geo", "32", "U", "500000", "north"}},
                                         RefusedCase{{"geo", "geo2utm", "nan", "9"}},
                                         RefusedCase{{"geo", "utm2geo", "32", "U", "inf", "5316300"}},
                                         RefusedCase{{"geo", "geo2utm", "48", "9", "-o", "x.hpn"}}));

// Values outside what the grid can take: the message as a block, exit 1,
// nothing printed.
struct OutOfRangeCase {
  std::vector<std::string> args;
  std::string message;
};

class GeoOutOfRange : public testing::TestWithParam<OutOfRangeCase> {};

TEST_P(GeoOutOfRange, FailWithTheMessage) {
  const Result r = RunGeo(GetParam().args);
  EXPECT_EQ(r.status, kExitFailed);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, GetParam().message + "\n\n");
}

const std::string kZone = "Geben Sie eine ganze Zahl zwischen 1 und 60 ein.";
const std::string kLatitude = "Geben Sie eine Breite zwischen -90 und 90 Grad ein.";

INSTANTIATE_TEST_SUITE_P(Values, GeoOutOfRange,
                         testing::Values(OutOfRangeCase{{"geo", "utm2geo", "99", "U", "487031", "5352547"}, kZone},
                                         OutOfRangeCase{{"geo", "utm2geo", "0", "U", "487031", "5352547"}, kZone},
                                         OutOfRangeCase{{"geo", "utm2geo", "61", "U", "487031", "5352547"}, kZone},
                                         OutOfRangeCase{{"geo", "utm2geo", "-5", "U", "487031", "5352547"}, kZone},
                                         OutOfRangeCase{{"geo", "geo2utm", "95", "8"}, kLatitude},
                                         OutOfRangeCase{{"geo", "geo2utm", "-90.0001", "8"}, kLatitude}));

TEST(GeoUsage, ListsBothSubCommands) {
  const Result r = RunGeo({"geo", "nothing"});
  EXPECT_NE(r.err.find("  geo utm2geo ZONE LETTER EASTING NORTHING\n"), std::string::npos);
  EXPECT_NE(r.err.find("  geo geo2utm LAT LON\n"), std::string::npos);
}

}  // namespace
}  // namespace hp::cli
