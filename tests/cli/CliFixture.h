// A temporary folder per test and an in-process run of hollowplan-cli.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "cli/Commands.h"
#include "doc/DocumentFile.h"
#include "doc/SurveyStore.h"
#include "support/Survey.h"
#include "support/TempFolder.h"

namespace hp::cli {

namespace fs = std::filesystem;

struct Leg {
  const char* from;
  const char* to;
  double length, azimuth;
  int ring = 0;
};

// A document of legs in cave 1, passage 1 (instrument 1, degrees).
inline doc::SurveyStore Survey(const std::vector<Leg>& legs, int loopAdjustment = 1, bool computed = false) {
  doc::SurveyStore store;
  store.SetDefaults();
  store.records.clear();
  for (const Leg& leg : legs) test::AddLeg(store, leg.from, leg.to, leg.length, leg.azimuth, 0, leg.ring);
  store.settings.loopAdjustment = static_cast<uint16_t>(loopAdjustment);
  store.settings.computedCurrent = computed ? 1 : 0;
  return store;
}

// Whether `program` is an executable in a folder of PATH.
inline bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && ::access((fs::path(folder) / program).c_str(), X_OK) == 0) return true;
  return false;
}

// `path` quoted for the shell.
inline std::string Quoted(const fs::path& path) {
  std::string quoted = "'";
  for (const char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct Result {
  int status;
  std::string out;
  std::string err;
};

class CliDocuments : public testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (m_folder / name).string(); }

  static Result Run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCommand(args, out, err);
    return {status, out.str(), err.str()};
  }

  // Whether `info` of the document prints `line` (a whole line, newline included).
  static bool InfoHas(const std::string& path, const std::string& line) {
    return ("\n" + Run({"info", path}).out).find("\n" + line) != std::string::npos;
  }

  // Saves `store` in the folder and returns its path.
  std::string Save(doc::SurveyStore store, const std::string& name = "doc.hpn") const {
    EXPECT_TRUE(doc::SaveDocument(Path(name), store));
    return Path(name);
  }

  static std::string Bytes(const std::string& path) { return test::ReadFile(path); }
  static void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_folder)) names.insert(entry.path().filename().string());
    return names;
  }

  test::TempFolder m_folder{"hp_cli"};
};

}  // namespace hp::cli
