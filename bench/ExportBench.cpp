// Speed of the text exports over a generated cave of 100 000 records,
// computed and drawn (plan, and the camera view for VRML and the viewer
// data) once before any timing. Goal: every writer at
// least 50 MB/s of output (bytes_per_second), and each format at most 1 s end
// to end through hollowplan-cli export (document reading, compute check,
// drawing, the check of the records' values and writing the file).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>

#include "CaveSystemGenerator.h"
#include "calc/ComputePass.h"
#include "cli/Commands.h"
#include "doc/DocumentFile.h"
#include "export/ExportFile.h"
#include "export/PrepareView.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace {

namespace fs = std::filesystem;
using namespace hp;

constexpr size_t kRecords = 100'000;

// Counts the bytes and keeps none, so the writer alone is timed.
class CountingSink final : public base::ByteSink {
 public:
  bool Write(std::span<const uint8_t> bytes) override {
    size += bytes.size();
    return true;
  }
  size_t size = 0;
};

struct Cave {
  // The saved document is large: it goes with the cave.
  ~Cave() {
    std::error_code ignored;
    if (!document.empty()) fs::remove(document, ignored);
  }
  doc::SurveyStore store;
  exports::PreparedView prepared;  // the plan
  exports::PreparedView camera;    // the camera view, for VRML and the viewer data
  platform::MemorySettingsStore settings;
  fs::path document;
};

Cave& TheCave() {
  static std::unique_ptr<Cave> cave;
  if (!cave) {
    cave = std::make_unique<Cave>();
    bench::CaveSystemShape shape;
    shape.records = kRecords;
    bench::GenerateCaveSystem(cave->store, shape);
    platform::ScriptedPrompter prompter(platform::Answer::No);
    calc::RunComputeCommand(cave->store, prompter);
    cave->store.currentWorksheet->setStationNumbering(1);
    cave->store.currentWorksheet->setDisplayType(doc::DisplayType::Animation);
    exports::PrepareView(cave->camera, cave->store, cave->settings);
    cave->store.currentWorksheet->setDisplayType(doc::DisplayType::Plan);
    cave->settings.SetInt("Settings", "GPXSelect", 1);
    cave->settings.SetInt("Settings", "GEPointNumber", 1);
    exports::PrepareView(cave->prepared, cave->store, cave->settings);
    cave->document = fs::temp_directory_path() / ("hollowplan-export-" + std::to_string(::getpid()) + ".hpn");
    doc::SaveDocument(cave->document, cave->store);
  }
  return *cave;
}

void BM_Writer(benchmark::State& state, std::string extension) {
  Cave& cave = TheCave();
  const bool camera = extension == "wrl" || extension == "hvw";
  const exports::ExportContext context{cave.store, *cave.store.currentWorksheet, cave.settings,
                                       (camera ? cave.camera : cave.prepared).Drawn(), exports::TableIncludes::All};
  size_t bytes = 0;
  for (auto _ : state) {
    auto writer = exports::WriterFor(extension, cave.settings);
    CountingSink sink;
    exports::RunWriter(*writer, sink, context);
    bytes = sink.size;
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

// The check of every record's values that comes before each file is opened.
void BM_Refusal(benchmark::State& state, std::string extension) {
  Cave& cave = TheCave();
  const exports::ExportContext context{cave.store, *cave.store.currentWorksheet, cave.settings, cave.prepared.Drawn(),
                                       exports::TableIncludes::All};
  const auto writer = exports::WriterFor(extension, cave.settings);
  for (auto _ : state) {
    const std::string refusal = writer->Refusal(context);
    if (!refusal.empty()) state.SkipWithError(refusal.c_str());
    benchmark::DoNotOptimize(refusal);
  }
  state.SetItemsProcessed(static_cast<int64_t>(kRecords * state.iterations()));
}

void BM_CliExport(benchmark::State& state, std::string extension) {
  Cave& cave = TheCave();
  const fs::path output =
      fs::temp_directory_path() / ("hollowplan-export-" + std::to_string(::getpid()) + "." + extension);
  for (auto _ : state) {
    std::ostringstream out, err;
    const std::string type = extension == "wrl" || extension == "hvw" ? "5" : "0";
    const int status = cli::RunCommand({"export", cave.document.string(), output.string(), "--set", "GPXSelect=1",
                                        "--set", "GEPointNumber=1", "--include-mode", "1", "--display-type", type},
                                       out, err);
    if (status != 0) state.SkipWithError(("export failed: " + err.str()).c_str());
  }
  fs::remove(output);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Writer, table, std::string("txt"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, dxf, std::string("dxf"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, kml, std::string("kml"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, gpx, std::string("gpx"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, overlay, std::string("ovl"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, visualtopo, std::string("tro"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, vrml, std::string("wrl"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, viewer, std::string("hvw"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, survex, std::string("svx"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Refusal, table, std::string("txt"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Refusal, kml, std::string("kml"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Refusal, dxf, std::string("dxf"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Refusal, visualtopo, std::string("tro"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, table, std::string("txt"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, dxf, std::string("dxf"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, kml, std::string("kml"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, gpx, std::string("gpx"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, overlay, std::string("ovl"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, visualtopo, std::string("tro"))->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_CliExport, vrml, std::string("wrl"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, viewer, std::string("hvw"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliExport, survex, std::string("svx"))->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
