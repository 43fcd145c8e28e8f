// hollowplan-cli geo utm2geo / geo geo2utm: how the arguments are read, the
// exact line printed, the exit status and the refusals. The conversions
// themselves are checked with the grid code.
#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

TEST(GeoCommand, LinesAndRefusals) {
  const std::string zone = "Geben Sie eine ganze Zahl zwischen 1 und 60 ein.\n\n";
  const std::string latitude = "Geben Sie eine Breite zwischen -90 und 90 Grad ein.\n\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;  // "?": some text
  } cases[] = {
      {{"geo", "geo2utm", "48", "9"}, kExitOk, "32 U 500000.00 5316300.22\n", ""},
      // A leading minus followed by a digit is a number; a decimal comma is accepted.
      {{"geo", "geo2utm", "-33,9", "18.4"}, kExitOk, "34 H 259583.22 6245888.05\n", ""},
      {{"geo", "utm2geo", "34", "h", "259583,22", "6245888,05"}, kExitOk, "-33.9000000 18.4000000\n", ""},
      // Greenwich itself: no "-0.0000000".
      {{"geo", "utm2geo", "31", "N", "166021.44", "0"}, kExitOk, "0.0000000 0.0000000\n", ""},
      {{"geo", "utm2geo", "61", "U", "487031", "5352547"}, kExitFailed, "", zone},
      {{"geo", "utm2geo", "-5", "U", "487031", "5352547"}, kExitFailed, "", zone},
      {{"geo", "geo2utm", "-90.0001", "8"}, kExitFailed, "", latitude},
      {{"geo"}, kExitUsage, "", "?"},
      {{"geo", "utm2wgs", "1", "2"}, kExitUsage, "", "?"},
      {{"geo", "geo2utm", "48", "9", "10"}, kExitUsage, "", "?"},
      {{"geo", "utm2geo", "32", "U", "500000"}, kExitUsage, "", "?"},
      {{"geo", "geo2utm", "48x", "9"}, kExitUsage, "", "?"},
      {{"geo", "geo2utm", "48", ""}, kExitUsage, "", "?"},
      {{"geo", "utm2geo", "32.5", "U", "500000", "5316300"}, kExitUsage, "", "?"},
      {{"geo", "utm2geo", "99999999999", "U", "500000", "5316300"}, kExitUsage, "", "?"},
      {{"geo", "utm2geo", "32", "UT", "500000", "5316300"}, kExitUsage, "", "?"},
      {{"geo", "geo2utm", "nan", "9"}, kExitUsage, "", "?"},
      {{"geo", "utm2geo", "32", "U", "inf", "5316300"}, kExitUsage, "", "?"},
      {{"geo", "geo2utm", "48", "9", "-o", "x.hpn"}, kExitUsage, "", "?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    std::ostringstream out, err;
    EXPECT_EQ(RunCommand(c.args, out, err), c.status);
    EXPECT_EQ(out.str(), c.out);
    if (c.err == "?") {
      EXPECT_NE(err.str(), "");
    } else {
      EXPECT_EQ(err.str(), c.err);
    }
  }
  std::ostringstream out, err;
  RunCommand({"geo", "nothing"}, out, err);
  EXPECT_NE(err.str().find("  geo utm2geo ZONE LETTER EASTING NORTHING\n"), std::string::npos);
  EXPECT_NE(err.str().find("  geo geo2utm LAT LON\n"), std::string::npos);
}

}  // namespace
}  // namespace hp::cli
