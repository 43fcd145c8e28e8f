// Speed of writing and reading document files of 10 000 and 100 000
// records, from and to files in a warm page cache. The goal is at least
// 300 MB/s each way; the MB/s column shows it.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "SurveyGenerator.h"
#include "doc/DocumentFile.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace {

using hp::doc::SurveyStore;
namespace fs = std::filesystem;

// One generated survey per size, shared by all benchmarks of the run.
SurveyStore& Survey(size_t records) {
  static std::map<size_t, std::unique_ptr<SurveyStore>> surveys;
  auto& slot = surveys[records];
  if (!slot) {
    slot = std::make_unique<SurveyStore>();
    hp::bench::SurveyShape shape;
    shape.records = records;
    hp::bench::GenerateSurvey(*slot, shape);
  }
  return *slot;
}

fs::path ScratchFile(const std::string& name) {
  return fs::temp_directory_path() / ("hollowplan-bench-" + std::to_string(::getpid()) + "-" + name + ".hpn");
}

// A saved document of `records` records, written once per run.
const fs::path& SavedSurvey(size_t records) {
  static std::map<size_t, fs::path> files;
  auto& path = files[records];
  if (path.empty()) {
    path = ScratchFile("read-" + std::to_string(records));
    if (!hp::doc::SaveDocument(path, Survey(records))) path.clear();
  }
  return path;
}

struct ScratchRemover {
  fs::path path;
  ~ScratchRemover() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
};

void BM_WriteDocumentToFileSink(benchmark::State& state) {
  SurveyStore& store = Survey(static_cast<size_t>(state.range(0)));
  const ScratchRemover scratch{ScratchFile("write")};
  for (auto _ : state) {
    hp::base::FileSink sink(scratch.path);
    const auto status = hp::doc::WriteDocument(store, sink);
    if (status != hp::doc::WriteStatus::Ok || !sink.Close()) {
      state.SkipWithError("writing failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(scratch.path)));
  state.counters["records"] = static_cast<double>(store.records.size());
}

void BM_SaveDocument(benchmark::State& state) {
  SurveyStore& store = Survey(static_cast<size_t>(state.range(0)));
  const ScratchRemover scratch{ScratchFile("save")};
  for (auto _ : state) {
    if (!hp::doc::SaveDocument(scratch.path, store)) {
      state.SkipWithError("saving failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(scratch.path)));
}

// Each read goes into a fresh store (as opening a document does); the
// store is destroyed outside the timed part.
template <class ReadFn>
void ReadBenchmark(benchmark::State& state, ReadFn read) {
  const size_t records = static_cast<size_t>(state.range(0));
  const fs::path& path = SavedSurvey(records);
  if (path.empty()) {
    state.SkipWithError("could not write the document to read");
    return;
  }
  hp::platform::ScriptedPrompter prompter;
  hp::platform::MemorySettingsStore settings;
  for (auto _ : state) {
    auto store = std::make_unique<SurveyStore>();
    store->SetDefaults();
    size_t target = 0;
    if (read(path, *store, target, prompter, settings) != hp::doc::ReadStatus::Ok || store->records.size() != records) {
      state.SkipWithError("reading failed");
      break;
    }
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}

void BM_LoadDocument(benchmark::State& state) {
  ReadBenchmark(state, [](const fs::path& path, SurveyStore& store, size_t& target, auto& prompter, auto& settings) {
    return hp::doc::LoadDocument(path, store, hp::doc::ReadMode::Open, target, prompter, settings);
  });
}

void BM_ReadDocumentFromFileSource(benchmark::State& state) {
  ReadBenchmark(state, [](const fs::path& path, SurveyStore& store, size_t& target, auto& prompter, auto& settings) {
    hp::base::FileSource source(path);
    uint8_t signature[4];
    source.Read(signature);
    return hp::doc::ReadDocument(store, source, hp::doc::ReadMode::Open, target, prompter, settings);
  });
}

// Decoding alone, from bytes already in memory: separates the codec's cost
// from the file's.
void BM_ReadDocumentFromMemory(benchmark::State& state) {
  SurveyStore& original = Survey(static_cast<size_t>(state.range(0)));
  hp::base::MemorySink image;
  hp::doc::WriteDocument(original, image);
  hp::platform::ScriptedPrompter prompter;
  hp::platform::MemorySettingsStore settings;
  for (auto _ : state) {
    auto store = std::make_unique<SurveyStore>();
    store->SetDefaults();
    hp::base::MemorySource source(image.data);
    size_t target = 0;
    if (hp::doc::ReadDocument(*store, source, hp::doc::ReadMode::Open, target, prompter, settings) !=
        hp::doc::ReadStatus::Ok) {
      state.SkipWithError("reading failed");
      break;
    }
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(image.data.size()));
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_WriteDocumentToFileSink)->Apply(Sizes);
BENCHMARK(BM_SaveDocument)->Apply(Sizes);
BENCHMARK(BM_LoadDocument)->Apply(Sizes);
BENCHMARK(BM_ReadDocumentFromFileSource)->Apply(Sizes);
BENCHMARK(BM_ReadDocumentFromMemory)->Apply(Sizes);

// Removes the files the read benchmarks wrote once the run ends.
struct SavedSurveyCleanup {
  ~SavedSurveyCleanup() {
    std::error_code ignored;
    for (size_t records : {size_t{10'000}, size_t{100'000}}) {
      fs::remove(ScratchFile("read-" + std::to_string(records)), ignored);
    }
  }
} g_cleanup;

}  // namespace

BENCHMARK_MAIN();
