// new, info and convert: documents in and out.
#include <cstdio>
#include <ostream>
#include <string>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "calc/ComputeCommand.h"
#include "calc/ComputePass.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "doc/DocumentFile.h"

namespace hp::cli {
namespace {

std::string Printf(const char* format, unsigned value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// Asked after the reader has said what is missing; the answer policy decides.
constexpr const char* kGoOnIncomplete = "Mit den gelesenen Daten des unvollständigen Dokuments weiterarbeiten?";

}  // namespace

platform::MemorySettingsStore SettingsOf(const CliArguments& args) {
  platform::MemorySettingsStore settings;
  for (const auto& [name, value] : args.settings) settings.SetString("Settings", name, value);
  return settings;
}

// A cut document would give results, conversions and exports of part of the
// survey without a sign of it in the output, so a script goes on with it only
// when it answers yes.
bool OpenInput(const CommandContext& c, const std::string& path, doc::SurveyStore& store) {
  CliPrompter prompter(c.err, c.args.answer);
  const auto settings = SettingsOf(c.args);
  size_t target = 0;
  doc::ReadReport report;
  if (doc::LoadDocument(path, store, doc::ReadMode::Open, target, prompter, settings, &report) != doc::ReadStatus::Ok)
    return false;
  return !report.incomplete ||
         prompter.AskYesNoCancel(kGoOnIncomplete, platform::Icon::Question) == platform::Answer::Yes;
}

int ArgumentProblem(const CommandContext& c, const std::string& problem) {
  c.err << "hollowplan-cli: " << problem << "\n";
  return kExitUsage;
}

bool WriteOutput(const CommandContext& c, const std::string& path, doc::SurveyStore& store) {
  if (doc::SaveDocument(path, store)) return true;
  CliPrompter prompter(c.err, c.args.answer);
  prompter.Message(path + doc::messages::kCannotWrite, platform::Icon::Exclamation);
  return false;
}

int RunNew(const CommandContext& c) {
  doc::SurveyStore store;
  store.SetDefaults();
  return WriteOutput(c, *c.args.output, store) ? kExitOk : kExitFailed;
}

int RunInfo(const CommandContext& c) {
  doc::SurveyStore store;
  if (!OpenInput(c, c.args.positional[0], store)) return kExitFailed;
  const doc::DocumentSettings& s = store.settings;
  const auto utf8 = [](std::string_view text) { return base::Cp1252ToUtf8(text); };
  const int current = store.IndexOf(store.currentWorksheet);
  std::string band = utf8(base::TextOf(s.utmBand).substr(0, 1));
  c.out << "version: " << Printf("0x%08X", store.fileVersion) << "\n"
        << "records: " << store.records.size() << "\n"
        << "worksheets: " << store.worksheets.size() << "\n"
        << "current worksheet: " << current + 1 << " " << utf8(store.currentWorksheet->sheetDesignation()) << "\n"
        << "title: " << utf8(base::TextOf(s.title)) << "\n"
        << "title2: " << utf8(base::TextOf(s.title2)) << "\n"
        << "cadastre: " << s.cadastreNumber << " " << utf8(base::TextOf(s.cadastreDesignation)) << "\n"
        << "utm: " << s.utmZone << " " << band << "\n"
        << "computed: " << s.computedCurrent << "\n"
        << "loop adjustment: " << s.loopAdjustment << "\n";
  return kExitOk;
}

int RunConvert(const CommandContext& c) {
  doc::SurveyStore store;
  if (!OpenInput(c, c.args.positional[0], store)) return kExitFailed;
  if (c.args.HasFlag("--compute")) {
    CliPrompter prompter(c.err, c.args.answer);
    calc::RunChosenComputeCommand(store, prompter, calc::LoadBlunderOptions(SettingsOf(c.args)));
  }
  return WriteOutput(c, *c.args.output, store) ? kExitOk : kExitFailed;
}

}  // namespace hp::cli
