// The Survex reader's files and commands: include files, survey prefixes,
// units, calibrations, data styles, fixed points, equates, flags and the
// settings that change how names and numbers are written.
#include "import/SurvexParser.h"

#include <algorithm>
#include <charconv>
#include <numbers>

#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "geo/Utm.h"
#include "import/ImportLimits.h"
#include "import/TextFile.h"

namespace hp::imports::survex {
namespace {

constexpr int kMaxIncludeDepth = 64;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

bool FieldOf(std::string_view word, Field& field) {
  static const std::pair<const char*, Field> kFields[] = {{"from", Field::From},
                                                          {"to", Field::To},
                                                          {"station", Field::Station},
                                                          {"tape", Field::Length},
                                                          {"length", Field::Length},
                                                          {"backtape", Field::BackLength},
                                                          {"backlength", Field::BackLength},
                                                          {"compass", Field::Compass},
                                                          {"bearing", Field::Compass},
                                                          {"backcompass", Field::BackCompass},
                                                          {"backbearing", Field::BackCompass},
                                                          {"clino", Field::Clino},
                                                          {"gradient", Field::Clino},
                                                          {"backclino", Field::BackClino},
                                                          {"backgradient", Field::BackClino},
                                                          {"fromdepth", Field::FromDepth},
                                                          {"todepth", Field::ToDepth},
                                                          {"depthchange", Field::DepthChange},
                                                          {"dx", Field::Dx},
                                                          {"easting", Field::Dx},
                                                          {"dy", Field::Dy},
                                                          {"northing", Field::Dy},
                                                          {"dz", Field::Dz},
                                                          {"altitude", Field::Dz},
                                                          {"left", Field::Left},
                                                          {"right", Field::Right},
                                                          {"up", Field::Up},
                                                          {"ceiling", Field::Up},
                                                          {"down", Field::Down},
                                                          {"floor", Field::Down},
                                                          {"ignore", Field::Ignore},
                                                          {"ignoreall", Field::IgnoreAll}};
  const std::string w = Lower(word);
  for (const auto& [name, value] : kFields) {
    if (w == name) {
      field = value;
      return true;
    }
  }
  return false;
}

// "yyyy.mm.dd" (a range: its first date) as "dd.mm.yyyy"; empty when the
// date is not given to the day.
std::string RecordDate(std::string_view text) {
  text = text.substr(0, text.find('-'));
  if (text.size() != 10 || text[4] != '.' || text[7] != '.') return {};
  return std::string(text.substr(8, 2)) + "." + std::string(text.substr(5, 2)) + "." + std::string(text.substr(0, 4));
}

}  // namespace

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Angle units in degrees; 0 when `word` is none. Percent is told apart.
double AngleUnit(std::string_view word, bool& percent) {
  const std::string w = Lower(word);
  percent = false;
  if (w == "degs" || w == "degrees") return 1.0;
  if (w == "grads" || w == "mils") return 0.9;
  if (w == "minutes") return 1.0 / 60.0;
  if (w == "quads" || w == "quadrants") return 90.0;
  if (w == "percent" || w == "percentage") {
    percent = true;
    return 1.0;
  }
  return 0;
}

bool ReadProject(const std::filesystem::path& top, Survey& survey, std::string& failure) {
  Parser parser(survey);
  if (!parser.ReadFile(top, failure, 0)) return false;
  // Every station points straight at its representative from here on (a
  // representative comes before the stations equated with it).
  for (size_t i = 0; i < survey.parent.size(); ++i) {
    survey.parent[i] = survey.parent[static_cast<size_t>(survey.parent[i])];
  }
  return true;
}

void Parser::Note(std::string_view text) {
  m_survey.notes.push_back(m_file + ":" + std::to_string(m_line) + ": " + std::string(text));
}

bool Parser::ReadFile(const std::filesystem::path& path, std::string& failure, int depth) {
  const std::string name = path.string();
  base::FileSource probe(path);
  if (!probe.IsOpen()) {
    failure = name + "\nDiese Datei kann nicht geöffnet werden.";
    return false;
  }
  const uint64_t size = probe.Size();
  if (size > kMaxTableFileSize) {
    failure = name + "\nDiese Datei ist zu groß. Importiert werden Survex-Dateien bis 2 GB.";
    return false;
  }
  // A leg takes some 25 bytes of a data file; room for most of them at once.
  if (depth == 0) {
    const auto legs = static_cast<size_t>(std::min<uint64_t>(size / 24, 1u << 24));
    m_survey.legs.reserve(legs);
    m_index.reserve(legs);
  }
  const TextLayout layout = DetectTextLayout(probe, size);
  base::FileSource source(path);
  TextLines lines(source, layout, size);
  const std::string outerFile = m_file;
  const size_t outerLine = m_line;
  const size_t levels = m_stack.size();
  m_file = name;
  m_line = 0;
  bool failed = false;
  for (std::string line; !failed && lines.Next(line);) {
    ++m_line;
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    if (start == line.size() || m_stack.back().comment.find(line[start]) != std::string::npos) continue;
    if (line[start] == '*') {
      Command(std::string_view(line).substr(start + 1), path, failure, depth, failed);
    } else {
      Tokenize(line, m_tokens);
      DataLine(m_tokens);
    }
  }
  if (!failed && m_stack.size() > levels) {
    Note("*begin ohne *end am Ende der Datei");
    m_stack.resize(levels);
  }
  m_file = outerFile;
  m_line = outerLine;
  return !failed;
}

std::vector<std::string> Parser::Tokens(std::string_view line) const {
  std::vector<std::string> tokens;
  Tokenize(line, tokens);
  return tokens;
}

void Parser::Tokenize(std::string_view line, std::vector<std::string>& tokens) const {
  // What each character is: 1 blank, 2 the start of a comment.
  std::array<uint8_t, 256> kind{};
  for (const char c : m_stack.back().comment) kind[static_cast<unsigned char>(c)] = 2;
  for (const char c : m_stack.back().blank) kind[static_cast<unsigned char>(c)] = 1;
  for (const char c : std::string_view(" \t\r\f\v")) kind[static_cast<unsigned char>(c)] = 1;
  const auto isBlank = [&](char c) { return kind[static_cast<unsigned char>(c)] == 1; };
  const auto isComment = [&](char c) { return kind[static_cast<unsigned char>(c)] == 2; };
  size_t count = 0;  // the strings of `tokens` are reused
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size() || isComment(line[i])) break;
    std::string_view token;
    if (line[i] == '"') {
      const size_t close = line.find('"', i + 1);
      token = line.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
      i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
      const size_t begin = i;
      while (i < line.size() && kind[static_cast<unsigned char>(line[i])] == 0) ++i;
      token = line.substr(begin, i - begin);
    }
    if (count < tokens.size()) {
      tokens[count].assign(token);
    } else {
      tokens.emplace_back(token);
    }
    ++count;
  }
  tokens.resize(count);
}

int Parser::Station(std::string_view text) {
  const Settings& s = m_stack.back();
  // ".", ".." and "..." are anonymous stations, and "-" after
  // "*alias station - ..".
  if (text == "." || text == ".." || text == "..." || (s.dotDotAnonymous && text == "-")) return -1;
  bool root = false;
  if (!text.empty() && text.front() == '\\') {
    root = true;
    text.remove_prefix(1);
  }
  std::string full;
  if (!root && !s.prefix.empty()) {
    full.reserve(s.prefix.size() + 1 + text.size());
    full += s.prefix;
    full += '.';
  }
  const size_t start = full.size();
  full += text;
  const bool plain = s.separator == "." && s.letterCase == Settings::Case::Preserve;
  for (size_t i = start; i < full.size() && !plain; ++i) {
    char& d = full[i];
    if (s.separator.find(d) != std::string::npos) d = '.';
    if (s.letterCase == Settings::Case::Upper)
      d = static_cast<char>(base::Cp1252ToUpper(static_cast<unsigned char>(d)));
    if (s.letterCase == Settings::Case::Lower)
      d = static_cast<char>(base::Cp1252ToLower(static_cast<unsigned char>(d)));
  }
  if (s.truncate > 0) {
    // Every part of the name is cut, as the survey's own names are.
    std::string cut;
    size_t part = 0;
    for (const char c : full) {
      part = c == '.' ? 0 : part + 1;
      if (part <= s.truncate) cut += c;
    }
    full = std::move(cut);
  }
  const auto [it, added] = m_index.try_emplace(full, static_cast<int>(m_survey.names.size()));
  if (added) {
    m_survey.names.push_back(full);
    m_survey.parent.push_back(it->second);
  }
  return it->second;
}

double Parser::Number(std::string_view text) const {
  const std::string& decimal = m_stack.back().decimal;
  std::string t;
  if (decimal != ".") {
    t = text;
    for (char& c : t) {
      if (c != '.' && decimal.find(c) != std::string::npos) c = '.';
    }
    text = t;
  }
  std::string_view v = text;
  if (v.starts_with('+')) v.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(v.data(), v.data() + v.size(), value);
  if (result.ec != std::errc() || result.ptr != v.data() + v.size() || !IsImportableNumber(value)) return kOmitted;
  return value;
}

void Parser::Command(std::string_view line, const std::filesystem::path& file, std::string& failure, int depth,
                     bool& failed) {
  std::vector<std::string> args = Tokens(line);
  if (args.empty()) return Note("Befehl fehlt nach \"*\"");
  const std::string command = Lower(args.front());
  args.erase(args.begin());
  Settings& s = m_stack.back();
  if (command == "begin") {
    Settings inner = s;
    if (!args.empty()) {
      std::string name = args.front();
      for (char& c : name) {
        if (s.separator.find(c) != std::string::npos) c = '.';
        if (s.letterCase == Settings::Case::Upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (s.letterCase == Settings::Case::Lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      }
      inner.prefix = s.prefix.empty() ? name : s.prefix + "." + name;
    }
    m_stack.push_back(std::move(inner));
  } else if (command == "end") {
    if (m_stack.size() == 1) return Note("*end ohne *begin");
    m_stack.pop_back();
  } else if (command == "include") {
    if (args.empty()) return Note("*include ohne Dateinamen");
    if (depth >= kMaxIncludeDepth) {
      failure = m_file + ":" + std::to_string(m_line) + ": Die Include-Dateien sind zu tief verschachtelt.";
      failed = true;
      return;
    }
    std::string name = args.front();
    std::replace(name.begin(), name.end(), '\\', '/');
    std::filesystem::path target = file.parent_path() / name;
    if (!std::filesystem::is_regular_file(target)) target += ".svx";
    failed = !ReadFile(target, failure, depth + 1);
  } else if (command == "units") {
    Units(args);
  } else if (command == "calibrate") {
    Calibrate(args);
  } else if (command == "declination") {
    if (!args.empty() && Lower(args.front()) == "auto") {
      return Note(
          "*declination auto braucht ein Modell des Erdmagnetfelds, das dieses Programm nicht hat; "
          "die Azimute bleiben ohne Deklination");
    }
    const double value = args.empty() ? kOmitted : Number(args.front());
    bool percent = false;
    const double unit = args.size() > 1 ? AngleUnit(args[1], percent) : 1.0;
    if (!Given(value) || unit == 0) return Note("*declination nicht lesbar");
    s.zero[kDeclination] = -value * unit;
  } else if (command == "data") {
    Data(args);
  } else if (command == "fix") {
    FixCommand(args);
  } else if (command == "equate") {
    Equate(args);
  } else if (command == "flags") {
    Flags(args);
  } else if (command == "set") {
    Set(args);
  } else if (command == "cs") {
    CoordinateSystem(args);
  } else if (command == "date") {
    s.date = args.empty() ? std::string() : RecordDate(args.front());
  } else if (command == "team") {
    // The members of a survey's team, one surveyor entry of the document.
    if (args.empty()) return Note("*team ohne Namen");
    s.team += (s.team.empty() ? "" : ", ") + args.front();
  } else if (command == "case") {
    const std::string mode = args.empty() ? "" : Lower(args.front());
    if (mode == "toupper") {
      s.letterCase = Settings::Case::Upper;
    } else if (mode == "tolower") {
      s.letterCase = Settings::Case::Lower;
    } else if (mode == "preserve") {
      s.letterCase = Settings::Case::Preserve;
    } else {
      Note("*case nimmt preserve, toupper oder tolower");
    }
  } else if (command == "truncate") {
    const std::string mode = args.empty() ? "" : Lower(args.front());
    const double n = Number(mode);
    if (mode == "off") {
      s.truncate = 0;
    } else if (Given(n) && n >= 1) {
      s.truncate = static_cast<size_t>(n);
    } else {
      Note("*truncate nimmt eine Anzahl oder off");
    }
  } else if (command == "alias") {
    if (args.size() == 3 && Lower(args[0]) == "station" && args[1] == "-" && args[2] == "..") {
      s.dotDotAnonymous = true;
    } else if (args.size() == 2 && Lower(args[0]) == "station" && args[1] == "-") {
      s.dotDotAnonymous = false;
    } else {
      Note("*alias: nur \"*alias station - ..\" wird verstanden");
    }
  } else if (command == "sd") {
    StandardDeviation(args);
  } else if (command == "instrument") {
    // "*instrument compass "CL 123"": the instrument entry of the legs.
    if (args.size() < 2) return Note("*instrument ohne Bezeichnung");
    s.instrument += (s.instrument.empty() ? "" : ", ") + args[1];
  } else if (command == "title") {
    if (m_stack.size() == 1 && !args.empty() && m_survey.title.empty()) m_survey.title = args.front();
  } else if (command == "copyright" || command == "ref" || command == "require" || command == "infer" ||
             command == "entrance" || command == "export" || command == "solve") {
    // References, entrances and the titles of single surveys change no
    // coordinate. Equates and plumbs are read as they are written whatever
    // *infer says.
  } else if (command == "prefix") {
    Settings inner = s;
    inner.prefix = args.empty() ? std::string() : args.front();
    s = std::move(inner);
  } else {
    Note("Unbekannter Befehl *" + base::Cp1252ToUtf8(command) + " wurde übergangen");
  }
}

void Parser::Data(const std::vector<std::string>& args) {
  Settings& s = m_stack.back();
  const std::string style = args.empty() ? "default" : Lower(args.front());
  if (style == "default") {
    const Settings defaults;
    s.style = Style::Normal;
    s.order = defaults.order;
    return;
  }
  Style chosen;
  if (style == "normal") {
    chosen = Style::Normal;
  } else if (style == "diving") {
    chosen = Style::Diving;
  } else if (style == "cartesian") {
    chosen = Style::Cartesian;
  } else if (style == "passage") {
    chosen = Style::Passage;
  } else if (style == "nosurvey") {
    chosen = Style::NoSurvey;
  } else {
    return Note("*data " + base::Cp1252ToUtf8(args.front()) + " wird nicht unterstützt; die Daten werden übergangen");
  }
  std::vector<Field> order;
  for (size_t i = 1; i < args.size(); ++i) {
    Field field;
    if (!FieldOf(args[i], field)) {
      s.style = Style::NoSurvey;
      s.order.clear();
      return Note("*data: Spalte " + base::Cp1252ToUtf8(args[i]) +
                  " wird nicht unterstützt; die folgenden Daten werden übergangen");
    }
    order.push_back(field);
  }
  if (args.size() == 1) {
    const Settings defaults;
    order = defaults.order;
  }
  s.style = chosen;
  s.order = std::move(order);
}

void Parser::FixCommand(const std::vector<std::string>& args) {
  if (args.empty()) return Note("*fix ohne Messpunkt");
  Fix fix;
  fix.station = Station(args.front());
  size_t i = 1;
  if (i < args.size() && Lower(args[i]) == "reference") ++i;
  if (i == args.size()) {
    // A station fixed without coordinates lies at the origin.
    m_survey.fixes.push_back(fix);
    return;
  }
  if (i + 3 > args.size()) return Note("*fix: Koordinaten unvollständig");
  const double x = Number(args[i]), y = Number(args[i + 1]), z = Number(args[i + 2]);
  if (!Given(x) || !Given(y) || !Given(z)) return Note("*fix: Koordinaten nicht lesbar");
  // Standard deviations after the coordinates weigh the fix only. The
  // coordinates are metres (or those of *cs), whatever *units says.
  fix.x = x;
  fix.y = y;
  fix.z = z;
  const std::string in = Lower(m_csIn), out = Lower(m_csOut);
  if (in != out && !in.empty()) {
    if ((in == "long-lat" || in == "epsg:4326") && out.starts_with("utm")) {
      const geo::UtmPosition grid = geo::GeographicToUtm(y, x);
      if (std::to_string(grid.zone) != out.substr(3, out.size() - 4) || (out.back() == 's') != (y < 0)) {
        Note("*fix: Die Länge liegt nicht in der UTM-Zone von *cs out; die Koordinaten gelten in Zone " +
             std::to_string(grid.zone));
      }
      fix.x = grid.easting;
      fix.y = grid.northing;
      fix.given = m_csIn + ' ' + args[i] + ' ' + args[i + 1] + ' ' + args[i + 2];
      if (m_survey.utmZone == 0) m_survey.utmZone = grid.zone, m_survey.utmBand = grid.letter;
    } else {
      Note("*cs: Umrechnung von " + m_csIn + " nach " + m_csOut +
           " wird nicht unterstützt; die Koordinaten werden unverändert übernommen");
    }
  }
  m_survey.fixes.push_back(fix);
}

void Parser::Equate(const std::vector<std::string>& args) {
  if (args.size() < 2) return Note("*equate braucht mindestens zwei Messpunkte");
  const int first = Station(args.front());
  for (size_t i = 1; i < args.size(); ++i) {
    const int other = Station(args[i]);
    if (first < 0 || other < 0) return Note("*equate mit einem anonymen Messpunkt");
    const int keep = m_survey.Representative(first);
    const int join = m_survey.Representative(other);
    // The set named first keeps its name.
    if (keep != join) m_survey.parent[static_cast<size_t>(std::max(keep, join))] = std::min(keep, join);
  }
}

void Parser::Flags(const std::vector<std::string>& args) {
  Settings& s = m_stack.back();
  bool value = true;
  for (const std::string& arg : args) {
    const std::string word = Lower(arg);
    if (word == "not") {
      value = false;
      continue;
    }
    if (word == "splay") {
      s.splay = value;
    } else if (word == "duplicate") {
      s.duplicate = value;
    } else if (word == "surface") {
      s.surface = value;
    } else {
      Note("*flags: " + base::Cp1252ToUtf8(arg) + " unbekannt");
    }
    value = true;
  }
}

void Parser::Set(const std::vector<std::string>& args) {
  if (args.size() != 2) return Note("*set nicht lesbar");
  Settings& s = m_stack.back();
  const std::string what = Lower(args[0]);
  const std::string& chars = args[1];
  if (what == "separator") {
    s.separator = chars;
  } else if (what == "blank") {
    // Characters may be written as "x" and two hexadecimal digits.
    s.blank.clear();
    for (size_t i = 0; i < chars.size(); ++i) {
      if (chars[i] == 'x' && i + 2 < chars.size() && std::isxdigit(static_cast<unsigned char>(chars[i + 1])) &&
          std::isxdigit(static_cast<unsigned char>(chars[i + 2]))) {
        s.blank += static_cast<char>(std::stoi(chars.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        s.blank += chars[i];
      }
    }
  } else if (what == "decimal") {
    s.decimal = chars;
  } else if (what == "comment") {
    s.comment = chars;
  } else if (what == "omit") {
    s.omit = chars;
  } else if (what == "names") {
    s.nameCharacters = chars;
  } else if (what != "plus" && what != "minus" && what != "root" && what != "open" && what != "close" &&
             what != "eol" && what != "keyword") {
    Note("*set " + base::Cp1252ToUtf8(args[0]) + " unbekannt");
  }
}

void Parser::CoordinateSystem(const std::vector<std::string>& args) {
  if (args.empty()) return Note("*cs ohne Koordinatensystem");
  if (Lower(args.front()) == "out") {
    // The first output system holds, as later ones from other data sets
    // must not move it.
    if (args.size() > 1 && m_csOut.empty()) m_csOut = args[1];
  } else {
    m_csIn = args.front();
  }
}

}  // namespace hp::imports::survex
