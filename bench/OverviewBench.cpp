// Speed of opening the records overview over generated caves of 10 000 and
// 100 000 records: classifying the records and building the cave and passage
// tree, and formatting every table cell and tree label once (what scrolling
// through the whole window costs). Goal: opening the 100 000-record overview
// (model built, the visible rows formatted) in at most 1 s; the model alone
// is a small part of it.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "CaveSystemGenerator.h"
#include "edit/RecordsOverview.h"

namespace {

using hp::doc::SurveyStore;

SurveyStore& SurveyOf(size_t records) {
  static std::map<size_t, std::unique_ptr<SurveyStore>> surveys;
  auto& slot = surveys[records];
  if (!slot) {
    slot = std::make_unique<SurveyStore>();
    hp::bench::CaveSystemShape shape;
    shape.records = records;
    hp::bench::GenerateCaveSystem(*slot, shape);
  }
  return *slot;
}

// The model as the window builds it on opening, with one screen of rows
// around the current record formatted.
void BM_OverviewOpen(benchmark::State& state) {
  SurveyStore& store = SurveyOf(static_cast<size_t>(state.range(0)));
  store.settings.currentRecordNumber = static_cast<uint32_t>(store.records.size() / 2);
  for (auto _ : state) {
    hp::edit::RecordsOverview overview(store);
    const size_t first = *overview.CurrentRow();
    size_t bytes = 0;
    for (size_t row = first; row < first + 40 && row < overview.RowCount(); ++row) {
      for (int column = 0; column < hp::edit::kOverviewColumnCount; ++column)
        bytes += overview.CellText(row, column).size();
    }
    bytes += overview.NodeLabel(*overview.CurrentNode()).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

// Every cell of the table and every label of the tree, once.
void BM_OverviewFormatAll(benchmark::State& state) {
  SurveyStore& store = SurveyOf(static_cast<size_t>(state.range(0)));
  hp::edit::RecordsOverview overview(store);
  for (auto _ : state) {
    size_t bytes = 0;
    for (size_t row = 0; row < overview.RowCount(); ++row) {
      for (int column = 0; column < hp::edit::kOverviewColumnCount; ++column)
        bytes += overview.CellText(row, column).size();
    }
    for (hp::edit::OverviewTree::NodeId node = 0; node < overview.tree().NodeCount(); ++node) {
      bytes += overview.NodeLabel(node).size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["cells/s"] = benchmark::Counter(static_cast<double>(state.range(0) * hp::edit::kOverviewColumnCount),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_OverviewOpen)->Arg(10'000)->Arg(100'000)->ArgName("records")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OverviewFormatAll)
    ->Arg(10'000)
    ->Arg(100'000)
    ->ArgName("records")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
