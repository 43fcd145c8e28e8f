// Speed of the survey data editor on a generated, computed cave of 100 000
// records: one navigation step (each button, shown at the end of the list
// where showing a record looks furthest back for its type), a search over
// every record (criteria no record meets, so the whole list is walked), and
// saving one record (the check before saving and the computation of that
// record alone). Goal: at most 50 ms for a navigation step and for a search
// over all records.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "CaveSystemGenerator.h"
#include "calc/ComputePass.h"
#include "edit/DataEditor.h"
#include "platform/Prompter.h"

namespace {

using hp::edit::Button;
using hp::edit::Field;

constexpr size_t kRecords = 100'000;

hp::doc::SurveyStore& Survey() {
  static std::unique_ptr<hp::doc::SurveyStore> store;
  if (!store) {
    store = std::make_unique<hp::doc::SurveyStore>();
    hp::bench::CaveSystemShape shape;
    shape.records = kRecords;
    hp::bench::GenerateCaveSystem(*store, shape);
    hp::platform::ScriptedPrompter prompter(hp::platform::Answer::No);
    hp::calc::RunComputeCommand(*store, prompter);
  }
  return *store;
}

// The button, and the record it is pressed on and returns to.
struct Step {
  Button button;
  int from;
};

void BM_NavigationStep(benchmark::State& state) {
  hp::doc::SurveyStore& store = Survey();
  const int count = static_cast<int>(store.records.size());
  const Step steps[] = {
      {Button::Next, count - 1},   {Button::Previous, count},  {Button::CaveForward, 1}, {Button::CaveBack, count},
      {Button::PassageForward, 1}, {Button::PointBack, count}, {Button::Ref, count},     {Button::Last, 1}};
  const Step step = steps[state.range(0)];
  hp::platform::ScriptedPrompter prompter;
  hp::edit::DataEditor editor(store, prompter, hp::edit::EditorSettings{});
  editor.Open(step.from);
  int reached = 0;
  for (auto _ : state) {
    editor.Navigate(step.button);
    benchmark::DoNotOptimize(editor.form());
    state.PauseTiming();
    reached = editor.number();
    editor.Open(step.from);
    state.ResumeTiming();
  }
  state.SetLabel("record " + std::to_string(step.from) + " to " + std::to_string(reached));
}
BENCHMARK(BM_NavigationStep)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

void BM_SearchAllRecords(benchmark::State& state) {
  hp::doc::SurveyStore& store = Survey();
  hp::platform::ScriptedPrompter prompter;
  hp::edit::DataEditor editor(store, prompter, hp::edit::EditorSettings{});
  for (auto _ : state) {
    state.PauseTiming();
    editor.Open(1);
    editor.BeginSearch();
    // Azimuth and a text found nowhere: every record is tested on both.
    editor.Edit(Field::Azimuth, "123,4");
    editor.Edit(Field::Material, "Tropfsteinvorhang");
    state.ResumeTiming();
    editor.StartSearch(hp::edit::SearchDirection::FromStart, false);
  }
  if (prompter.Texts().empty()) state.SkipWithError("the search found a record");
}
BENCHMARK(BM_SearchAllRecords)->Unit(benchmark::kMillisecond);

void BM_SaveRecord(benchmark::State& state) {
  hp::doc::SurveyStore& store = Survey();
  hp::platform::ScriptedPrompter prompter(hp::platform::Answer::Ok);
  hp::edit::DataEditor editor(store, prompter, hp::edit::EditorSettings{});
  const int number = static_cast<int>(store.records.size()) - 10;
  for (auto _ : state) {
    state.PauseTiming();
    editor.Open(number);
    editor.Edit(Field::Remark, "nachgemessen");
    state.ResumeTiming();
    editor.Save();
  }
}
BENCHMARK(BM_SaveRecord)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
