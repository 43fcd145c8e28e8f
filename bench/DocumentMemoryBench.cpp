// Peak memory of reading a document of 100 000 records, compared with the
// size of the store it fills. Reading must not hold a copy of the whole file:
// the goal is a peak of at most 1.3 times the store's own size.
//
// Two measures, both as benchmark counters:
//  - heap: every operator new of this program is counted, and the peak of
//    live bytes during the read is reported; records come from their own
//    pool and are not in it, so this shows what the read holds besides them
//    (a copy of the file would show here);
//  - rss: the program starts itself again with --read-child to read the file
//    in a fresh process and reports the growth of its peak resident set
//    (getrusage ru_maxrss before and after the read).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "SurveyGenerator.h"
#include "doc/DocumentFile.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace {

// Single-threaded program: plain counters are enough.
size_t g_liveBytes = 0;
size_t g_peakBytes = 0;

void* Allocate(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  g_liveBytes += malloc_usable_size(p);
  if (g_liveBytes > g_peakBytes) g_peakBytes = g_liveBytes;
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  g_liveBytes -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

namespace {

namespace fs = std::filesystem;
constexpr size_t kRecords = 100'000;

long PeakRssKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

hp::doc::ReadStatus Open(const fs::path& path, hp::doc::SurveyStore& store) {
  hp::platform::ScriptedPrompter prompter;
  hp::platform::MemorySettingsStore settings;
  size_t target = 0;
  return hp::doc::LoadDocument(path, store, hp::doc::ReadMode::Open, target, prompter, settings);
}

// The fresh process: prints "<peak kB before> <peak kB after> <store bytes>".
int ReadChild(const char* path) {
  hp::doc::SurveyStore store;
  store.SetDefaults();
  const long before = PeakRssKilobytes();
  if (Open(path, store) != hp::doc::ReadStatus::Ok) return 1;
  const long after = PeakRssKilobytes();
  std::printf("%ld %ld %zu\n", before, after, hp::bench::StoreDataBytes(store));
  return 0;
}

struct ChildResult {
  long before = 0, after = 0;
  size_t storeBytes = 0;
};

bool RunReadChild(const fs::path& file, ChildResult& result) {
  char self[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return false;
  const std::string command =
      "'" + std::string(self, static_cast<size_t>(n)) + "' --read-child '" + file.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  const int fields = std::fscanf(pipe, "%ld %ld %zu", &result.before, &result.after, &result.storeBytes);
  return pclose(pipe) == 0 && fields == 3;
}

void BM_ReadPeakMemory(benchmark::State& state) {
  const fs::path file = fs::temp_directory_path() / ("hollowplan-memory-" + std::to_string(::getpid()) + ".hpn");
  {
    hp::doc::SurveyStore generated;
    hp::bench::SurveyShape shape;
    shape.records = kRecords;
    hp::bench::GenerateSurvey(generated, shape);
    if (!hp::doc::SaveDocument(file, generated)) {
      state.SkipWithError("could not write the document");
      return;
    }
  }
  size_t storeBytes = 0, heapGrowth = 0;
  for (auto _ : state) {
    auto store = std::make_unique<hp::doc::SurveyStore>();
    store->SetDefaults();
    const size_t liveBefore = g_liveBytes;
    g_peakBytes = g_liveBytes;
    if (Open(file, *store) != hp::doc::ReadStatus::Ok || store->records.size() != kRecords) {
      state.SkipWithError("reading failed");
      break;
    }
    heapGrowth = g_peakBytes - liveBefore;
    storeBytes = hp::bench::StoreDataBytes(*store);
  }
  ChildResult child;
  const bool childRan = RunReadChild(file, child);
  std::error_code ignored;
  const auto fileBytes = fs::file_size(file, ignored);
  fs::remove(file, ignored);
  if (!childRan) {
    state.SkipWithError("the reading child process failed");
    return;
  }
  const double rssGrowth = static_cast<double>(child.after - child.before) * 1024.0;
  state.counters["file_MB"] = static_cast<double>(fileBytes) / 1e6;
  state.counters["store_MB"] = static_cast<double>(storeBytes) / 1e6;
  state.counters["heap_besides_records_MB"] = static_cast<double>(heapGrowth) / 1e6;
  state.counters["rss_growth_MB"] = rssGrowth / 1e6;
  state.counters["rss_ratio"] = rssGrowth / static_cast<double>(child.storeBytes);
}

// One read per run is the measurement; repeating it adds nothing.
BENCHMARK(BM_ReadPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--read-child") == 0) return ReadChild(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
