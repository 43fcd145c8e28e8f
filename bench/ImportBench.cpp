// Importing large text files: a 100 000-line table and a 100 000-shot
// PocketTopo export, each read and computed as the import command does, and
// hollowplan-cli import of the table including the pass and the written
// document.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "BenchImport.h"
#include "BenchRandom.h"
#include "cli/Commands.h"

namespace {

namespace fs = std::filesystem;
using hp::bench::ImportAndCompute;
using hp::bench::Random;

fs::path Scratch(const std::string& name) {
  return fs::temp_directory_path() / ("hollowplan-import-" + std::to_string(::getpid()) + "-" + name);
}

std::string Fixed(double v, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
  return buffer;
}

// A cave of chained legs with side passages every few dozen legs, written as
// a table with decimal commas.
const fs::path& TableFile(size_t lines) {
  static const fs::path path = [lines] {
    const fs::path p = Scratch("table.txt");
    std::ofstream out(p, std::ios::binary);
    out << "RGang\tRPunkt\tGang\tPunkt\tL\xE4nge\tAzimut\tNeigung\tLinks\tRechts\tOben\tUnten\tDatum\tX\tY\tZ\n";
    out << "1\t0\t1\t0\t\t\t\t\t\t\t\t01.05.2019\t412000\t5312000\t850\n";
    Random random(42);
    int passage = 1, point = 0;
    for (size_t i = 1; i < lines; ++i) {
      std::string from = std::to_string(passage) + "\t" + std::to_string(point);
      if (point >= 1 && random.Chance(0.03)) {  // a side passage from a station of this one
        const int branch = 1 + static_cast<int>(random.Below(static_cast<size_t>(point)));
        from = std::to_string(passage) + "\t" + std::to_string(branch);
        ++passage;
        point = 0;
      }
      ++point;
      std::string line = from + "\t" + std::to_string(passage) + "\t" + std::to_string(point) + "\t" +
                         Fixed(random.Uniform(1, 20), 2) + "\t" + Fixed(random.Uniform(0, 360), 1) + "\t" +
                         Fixed(random.Uniform(-40, 40), 1) + "\t1,2\t0,8\t2\t0,5\t\t\t\t\n";
      for (char& c : line) {
        if (c == '.') c = ',';
      }
      out << line;
    }
    return p;
  }();
  return path;
}

// A PocketTopo export: legs measured three times, a back sight now and then
// and two splays per station.
const fs::path& PocketTopoFile(size_t shots) {
  static const fs::path path = [shots] {
    const fs::path p = Scratch("pockettopo.txt");
    std::ofstream out(p, std::ios::binary);
    out << "Grosse Tour (m, 360)\n\n[1]: 2022/09/17 1.00\n\n\n";
    Random random(7);
    const auto station = [](int n) {
      std::string s = "1." + std::to_string(n);
      s.resize(12, ' ');
      return s;
    };
    char line[128];
    size_t written = 0;
    for (int n = 0; written < shots; ++n) {
      const double length = random.Uniform(2, 15), azimuth = random.Uniform(0, 360), clino = random.Uniform(-30, 30);
      for (int k = 0; k < 3 && written < shots; ++k, ++written) {
        const bool back = k == 2 && random.Chance(0.3);
        const double a = back ? (azimuth >= 180 ? azimuth - 180 : azimuth + 180) : azimuth;
        std::snprintf(line, sizeof line, "%s%s %7.3f %7.2f %7.2f\n", station(back ? n + 1 : n).c_str(),
                      station(back ? n : n + 1).c_str(), length + random.Uniform(-0.02, 0.02), a,
                      back ? -clino : clino);
        out << line;
      }
      for (int k = 0; k < 2 && written < shots; ++k, ++written) {
        std::snprintf(line, sizeof line, "%s%s %7.3f %7.2f %7.2f\n", station(n + 1).c_str(), "            ",
                      random.Uniform(0.5, 4), random.Uniform(0, 360), random.Uniform(-60, 60));
        out << line;
      }
    }
    return p;
  }();
  return path;
}

void BM_ImportTable(benchmark::State& state) {
  ImportAndCompute(state, TableFile(static_cast<size_t>(state.range(0))));
}

void BM_ImportPocketTopo(benchmark::State& state) {
  ImportAndCompute(state, PocketTopoFile(static_cast<size_t>(state.range(0))));
}

void BM_CliImportTable(benchmark::State& state) {
  const fs::path& table = TableFile(static_cast<size_t>(state.range(0)));
  const fs::path output = Scratch("import.hpn");
  for (auto _ : state) {
    std::ostringstream out, err;
    if (hp::cli::RunCommand({"import", table.string(), "-o", output.string()}, out, err) != 0) {
      state.SkipWithError("hollowplan-cli import failed");
      return;
    }
  }
  std::error_code ignored;
  fs::remove(output, ignored);
}

BENCHMARK(BM_ImportTable)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportPocketTopo)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliImportTable)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

struct Cleanup {
  ~Cleanup() {
    std::error_code ignored;
    fs::remove(Scratch("table.txt"), ignored);
    fs::remove(Scratch("pockettopo.txt"), ignored);
  }
} g_cleanup;

}  // namespace

BENCHMARK_MAIN();
