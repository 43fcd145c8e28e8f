// Importing a 100 000-leg Survex project as the import command does (read,
// records, and the compute pass with the network adjustment a Survex project
// opens with; and the reading alone), side by side with Survex's cavern
// processing the same file (skipped when cavern is not installed). The goal:
// the import takes no longer than cavern.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchImport.h"
#include "BenchRandom.h"
#include "import/TextImport.h"
#include "platform/Prompter.h"

namespace {

namespace fs = std::filesystem;
using hp::bench::Random;

fs::path Scratch(const std::string& name) {
  return fs::temp_directory_path() / ("hollowplan-survex-" + std::to_string(::getpid()) + "-" + name);
}

// Surveys of 200 legs, each starting at a station of the survey before it,
// with two splays at every tenth station, a backsight now and then and a
// fixed entrance.
const fs::path& SurvexFile(size_t legs) {
  static const fs::path path = [legs] {
    const fs::path p = Scratch("project.svx");
    std::ofstream out(p, std::ios::binary);
    out << "*begin cave\n*fix s0.0 412000 5312000 850\n*entrance s0.0\n";
    Random random(11);
    char line[160];
    size_t written = 0;
    for (int survey = 0; written < legs; ++survey) {
      out << "*begin s" << survey << "\n*date 2022.09.17\n*data normal from to tape compass clino\n";
      if (survey > 0) {
        out << "*equate 0 \\cave.s" << survey - 1 << "." << random.Below(200) << "\n";
      }
      for (int n = 0; n < 200 && written < legs; ++n, ++written) {
        std::snprintf(line, sizeof line, "%d %d %.2f %.1f %.1f\n", n, n + 1, random.Uniform(1, 20),
                      random.Uniform(0, 360), random.Uniform(-40, 40));
        out << line;
        if (n % 10 == 0) {
          out << "*flags splay\n";
          for (int k = 0; k < 2 && written + 1 < legs; ++k, ++written) {
            std::snprintf(line, sizeof line, "%d .. %.2f %.1f %.1f\n", n + 1, random.Uniform(0.5, 4),
                          random.Uniform(0, 360), random.Uniform(-60, 60));
            out << line;
          }
          out << "*flags not splay\n";
        }
      }
      out << "*end s" << survey << "\n";
    }
    out << "*end cave\n";
    return p;
  }();
  return path;
}

// The import alone, without the compute pass.
void BM_SurvexRead(benchmark::State& state) {
  const fs::path& file = SurvexFile(static_cast<size_t>(state.range(0)));
  hp::platform::ScriptedPrompter prompter(hp::platform::Answer::No);
  for (auto _ : state) {
    hp::doc::SurveyStore store;
    store.SetDefaults();
    if (!hp::imports::ImportTable(store, file, hp::imports::TableImportMode::Replace, prompter)) {
      state.SkipWithError("import failed");
      return;
    }
  }
}

void BM_SurvexImport(benchmark::State& state) {
  hp::bench::ImportAndCompute(state, SurvexFile(static_cast<size_t>(state.range(0))));
}

void BM_Cavern(benchmark::State& state) {
  const fs::path& file = SurvexFile(static_cast<size_t>(state.range(0)));
  if (std::system("command -v cavern > /dev/null 2>&1") != 0) {
    state.SkipWithError("cavern (package survex) not installed");
    return;
  }
  const std::string command =
      "cavern -q -o '" + Scratch("project.3d").string() + "' '" + file.string() + "' > /dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("cavern failed");
      return;
    }
  }
}

BENCHMARK(BM_SurvexRead)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SurvexImport)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cavern)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

struct Cleanup {
  ~Cleanup() {
    std::error_code ignored;
    fs::remove(Scratch("project.svx"), ignored);
    fs::remove(Scratch("project.3d"), ignored);
  }
} g_cleanup;

}  // namespace

BENCHMARK_MAIN();
