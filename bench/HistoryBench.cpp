// Undo and redo of one step on a generated, computed cave of 100 000
// records: a record changed, deleted and created (the history keeps only
// that record), all records replaced by an import's (the history keeps the
// old ones and swaps them back), the document settings and a worksheet
// deleted; and a changed record undone with the compute pass the window then
// runs. Goal: at most 100 ms for each undo and each redo.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "BenchGoals.h"
#include "CaveSystemGenerator.h"
#include "base/FixedText.h"
#include "calc/BlunderSettings.h"
#include "calc/ComputeCommand.h"
#include "doc/DocumentChanges.h"
#include "doc/History.h"
#include "doc/WorksheetCommands.h"
#include "platform/Prompter.h"

namespace {

using hp::doc::DocumentCapture;
using hp::doc::SurveyStore;

constexpr size_t kRecords = 100'000;

std::unique_ptr<SurveyStore> Cave(uint64_t seed) {
  auto store = std::make_unique<SurveyStore>();
  hp::bench::CaveSystemShape shape;
  shape.records = kRecords;
  shape.seed = seed;
  hp::bench::GenerateCaveSystem(*store, shape);
  hp::platform::ScriptedPrompter prompter(hp::platform::Answer::No);
  hp::calc::RunComputeCommand(*store, prompter);
  return store;
}

SurveyStore& Survey() {
  static std::unique_ptr<SurveyStore> store = Cave(0x43617665ULL);
  return *store;
}

hp::doc::SurveyRecord Changed(const SurveyStore& store, size_t index) {
  hp::doc::SurveyRecord record = *store.records[index];
  record.length += 0.5;
  return record;
}

// One kind of step: carried out on the store, it returns its step.
struct Kind {
  const char* name;
  std::function<std::unique_ptr<hp::doc::Change>(SurveyStore&)> command;
};

const Kind kKinds[] = {
    {"change record",
     [](SurveyStore& s) {
       return hp::doc::SpliceRecords(s, hp::doc::ChangeRecordName(50'000), 49'999, 1, {Changed(s, 49'999)});
     }},
    {"delete record",
     [](SurveyStore& s) { return hp::doc::SpliceRecords(s, hp::doc::DeleteRecordName(11), 10, 1, {}); }},
    {"new record",
     [](SurveyStore& s) { return hp::doc::SpliceRecords(s, hp::doc::NewRecordName(11), 10, 0, {Changed(s, 10)}); }},
    {"replace all records",
     [](SurveyStore& s) {
       DocumentCapture capture(s, DocumentCapture::kRecords);
       s.records = std::move(Cave(0x496D706FULL)->records);
       return capture.Finish(s, hp::doc::ImportName("Beispieltour.txt"));
     }},
    {"document settings",
     [](SurveyStore& s) {
       DocumentCapture capture(s, DocumentCapture::kSettings);
       hp::base::SetText(s.settings.title, "Neuer Titel");
       return capture.Finish(s, "Dokument");
     }},
    {"delete worksheet",
     [](SurveyStore& s) {
       hp::doc::CopyWorksheet(s, "Zweites", 1);
       DocumentCapture capture(s, DocumentCapture::kWorksheets);
       hp::doc::DeleteWorksheet(s);
       return capture.Finish(s, hp::doc::steps::kDeleteWorksheet);
     }},
};

// Each iteration undoes the step and redoes it, timing the two apart;
// `compute`: each is followed by the compute pass, as in the window.
void BM_UndoRedo(benchmark::State& state) {
  const Kind& kind = kKinds[state.range(0)];
  const bool compute = state.range(1) != 0;
  SurveyStore& store = Survey();
  hp::doc::History history;
  history.Push(kind.command(store));
  hp::platform::ScriptedPrompter silent(hp::platform::Answer::No);
  const hp::calc::BlunderOptions accuracy;
  const std::string name = std::string(kind.name) + (compute ? " computed" : "");
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    history.Undo(store);
    if (compute) hp::calc::RunChosenComputeCommand(store, silent, accuracy);
    const auto middle = std::chrono::steady_clock::now();
    history.Redo(store);
    if (compute) hp::calc::RunChosenComputeCommand(store, silent, accuracy);
    const auto end = std::chrono::steady_clock::now();
    hp::bench::RunMillis()[name + " undo"].push_back(std::chrono::duration<double, std::milli>(middle - start).count());
    hp::bench::RunMillis()[name + " redo"].push_back(std::chrono::duration<double, std::milli>(end - middle).count());
  }
  // The next kind starts from the document as it was.
  history.Undo(store);
  if (compute) hp::calc::RunChosenComputeCommand(store, silent, accuracy);
}

void Register() {
  for (int64_t kind = 0; kind < static_cast<int64_t>(std::size(kKinds)); ++kind) {
    benchmark::RegisterBenchmark("BM_UndoRedo", BM_UndoRedo)
        ->Args({kind, 0})
        ->ArgNames({"kind", "compute"})
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("BM_UndoRedo", BM_UndoRedo)
      ->Args({0, 1})
      ->ArgNames({"kind", "compute"})
      ->Iterations(5)
      ->Unit(benchmark::kMillisecond);
}

void PrintSummary() {
  std::vector<hp::bench::Goal> goals;
  static std::vector<std::string> names;
  for (const Kind& kind : kKinds) {
    names.push_back(std::string(kind.name) + " undo");
    names.push_back(std::string(kind.name) + " redo");
  }
  names.emplace_back("change record computed undo");
  names.emplace_back("change record computed redo");
  for (const std::string& n : names) goals.push_back({n.c_str(), 100});
  hp::bench::PrintGoals("Undo and redo goals, 100 000 records", goals);
}

}  // namespace

int main(int argc, char** argv) { return hp::bench::RunWithSummary(argc, argv, Register, PrintSummary); }
