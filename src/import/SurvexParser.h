// Reading Survex survey data (.svx) with its include files into a plain
// survey: stations by their full dotted names, legs reduced to length,
// true azimuth and inclination in metres and degrees, fixed points, equated
// stations and passage dimensions. Every line that is not taken over gives a
// note naming its file and line. SurvexNames turns the survey into records.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hp::imports::survex {

inline constexpr double kOmitted = std::numeric_limits<double>::quiet_NaN();
inline bool Given(double value) { return !std::isnan(value); }
// An azimuth in degrees brought into [0, 360).
double Circle(double azimuth);

struct Leg {
  int from = -1;
  int to = -1;             // -1: an anonymous station (a splay's far end)
  double length = 0;       // metres
  double azimuth = 0;      // degrees from grid north, declination applied
  double inclination = 0;  // degrees
  double declination = 0;  // degrees added to the compass reading to give the azimuth
  bool splay = false;
  bool duplicate = false;
  bool surface = false;
  uint32_t session = 0;  // its date, team and instruments: Survey::sessions
  int readings = 1;      // readings on consecutive lines averaged into the leg
  // Standard deviations of its readings as *sd gave them (metres, degrees;
  // 0: not given); for a leg read as a grid vector, those of its three
  // components, cavern's 0.05 m where none were given.
  float sdTape = 0, sdCompass = 0, sdClino = 0;
  float sdEast = 0, sdNorth = 0, sdUp = 0;
  float sdPosition = 0;  // of setting up at a station, for legs read with tape, compass and clino
  int measurements = 1;  // the same leg measured elsewhere too, averaged into it
  int leftOut = 0;       // of these, the duplicate and surface ones
};

// The date, team and instruments of legs, shared by the legs read under
// them.
struct Session {
  std::string date;  // "dd.mm.yyyy" or empty
  std::string team;
  std::string instrument;  // the instruments of *instrument, separated by ", "
  friend bool operator==(const Session&, const Session&) = default;
};

struct Fix {
  int station = -1;
  double x = 0, y = 0, z = 0;  // metres in the output coordinate system
  std::string given;           // converted: "*cs" and coordinates as written, "LONG-LAT 19.89 49.24 1383"
};

struct Dimensions {
  double left = kOmitted, right = kOmitted, up = kOmitted, down = kOmitted;
};

// What was read from a project. Stations are numbered in the order their
// names first appear; equated stations share one representative, the one
// named first.
struct Survey {
  std::vector<std::string> names;  // full dotted names
  std::vector<int> parent;         // union-find over the stations
  std::vector<Leg> legs;
  std::vector<Session> sessions{Session{}};
  std::string title;  // of the project, not of one of its surveys
  std::vector<Fix> fixes;
  std::unordered_map<int, Dimensions> dimensions;  // by station
  std::vector<std::string> notes;                  // "file:line: text" (UTF-8)
  int utmZone = 0;                                 // the grid zone and latitude band of the first fix
  char utmBand = 0;                                // converted into UTM, 0 when none was

  int Representative(int station) const {
    while (parent[static_cast<size_t>(station)] != station) station = parent[static_cast<size_t>(station)];
    return station;
  }
};

// The quantities of *units, *calibrate and *sd.
enum Quantity : size_t {
  kLength,
  kBackLength,
  kCompass,
  kBackCompass,
  kClino,
  kBackClino,
  kDepth,
  kDx,
  kDy,
  kDz,
  kLeft,
  kRight,
  kUp,
  kDown,
  kDeclination,
  kQuantityCount
};

enum class Style { Normal, Diving, Cartesian, Passage, NoSurvey };

enum class Field {
  From,
  To,
  Station,
  Length,
  BackLength,
  Compass,
  BackCompass,
  Clino,
  BackClino,
  FromDepth,
  ToDepth,
  DepthChange,
  Dx,
  Dy,
  Dz,
  Left,
  Right,
  Up,
  Down,
  Ignore,
  IgnoreAll
};

// The settings a *begin keeps and its *end restores.
struct Settings {
  std::string prefix;                          // of the current survey, separated by '.'
  std::array<double, kQuantityCount> unit{};   // factor to metres or degrees
  std::array<bool, kQuantityCount> percent{};  // clinometer in percent
  std::array<double, kQuantityCount> zero{};   // zero error in metres or degrees
  std::array<double, kQuantityCount> scale{};
  std::array<double, kQuantityCount> sd{};  // standard deviation in metres or degrees, 0: not given
  double sdPosition = 0.05;                 // of setting up at a station, metres (cavern's default)
  Style style = Style::Normal;
  std::vector<Field> order{Field::From, Field::To, Field::Length, Field::Compass, Field::Clino};
  bool splay = false, duplicate = false, surface = false;
  std::string date;
  std::string team;        // the members of *team, separated by ", "
  std::string instrument;  // the instruments of *instrument, separated by ", "
  enum class Case { Preserve, Upper, Lower } letterCase = Case::Preserve;
  size_t truncate = 0;           // 0: names are not cut
  bool dotDotAnonymous = false;  // "-" is anonymous: *alias station - ..
  std::string separator = ".";
  std::string blank = " \t,";
  std::string decimal = ".";
  std::string comment = ";";
  std::string omit = "-";
  std::string nameCharacters = "_-";

  Settings() {
    unit.fill(1.0);
    scale.fill(1.0);
  }
};

// `text` in lower case (ASCII letters).
std::string Lower(std::string_view text);
// An angle unit of *units, *calibrate or *declination in degrees; 0 when
// `word` names none. Percent (of a clinometer) is told apart.
double AngleUnit(std::string_view word, bool& percent);

// Reads `top` and the files it includes into `survey`. False, with
// `failure` set (UTF-8), when a file cannot be opened or is too large; the
// survey is then incomplete.
bool ReadProject(const std::filesystem::path& top, Survey& survey, std::string& failure);

// The parser of one project; ReadProject drives it. Public for the data
// lines' reader in SurvexData.cpp.
class Parser {
 public:
  explicit Parser(Survey& survey) : m_survey(survey) {}

  bool ReadFile(const std::filesystem::path& path, std::string& failure, int depth);

  void Note(std::string_view text);
  int Station(std::string_view name);  // -1 for an anonymous one
  void DataLine(const std::vector<std::string>& tokens);

 private:
  void Command(std::string_view line, const std::filesystem::path& file, std::string& failure, int depth, bool& failed);
  void Units(const std::vector<std::string>& args);
  void Calibrate(const std::vector<std::string>& args);
  void StandardDeviation(const std::vector<std::string>& args);
  void Data(const std::vector<std::string>& args);
  void FixCommand(const std::vector<std::string>& args);
  void Flags(const std::vector<std::string>& args);
  void Set(const std::vector<std::string>& args);
  void CoordinateSystem(const std::vector<std::string>& args);
  void Equate(const std::vector<std::string>& args);
  std::vector<std::string> Tokens(std::string_view line) const;
  // The same into `tokens`, whose strings it reuses.
  void Tokenize(std::string_view line, std::vector<std::string>& tokens) const;
  double Number(std::string_view text) const;
  double Reading(std::string_view text, Quantity quantity, bool& bad) const;
  void NormalLeg(const std::vector<std::string>& tokens);
  void PassageLine(const std::vector<std::string>& tokens);
  // `grid`: the leg was read as a grid vector (cartesian data).
  void AddLeg(int from, int to, double length, double azimuth, double inclination, bool applyDeclination,
              bool grid = false);

  Survey& m_survey;
  std::unordered_map<std::string, int> m_index;
  std::vector<std::string> m_tokens;  // of the data line being read
  std::vector<Settings> m_stack{Settings()};
  std::string m_file;
  size_t m_line = 0;
  std::string m_csIn, m_csOut;
};

}  // namespace hp::imports::survex
