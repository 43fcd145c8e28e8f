// The program's window on a large document: from the start of the program to
// the drawn plan, a page-down redraw, and the peak memory, on generated
// surveys of 100 000 and 1 000 000 records, beside `hollowplan-cli info`
// reading the same file. Run it under an X server (xvfb-run); without one
// the window is drawn off screen.
//
// Each measurement starts this program again with --window-child: a fresh
// process that builds the main window as the program does, opens the file,
// and reports once the plan is drawn with all its labels:
//   - cpu_s: CPU time of the process (user and system) from its start;
//   - page_down_ms: the time from a page-down key to the redrawn picture
//     (the plan zoomed to 400 % so that there is somewhere to scroll);
//   - peak_ratio: the peak resident set against the file's size;
//   - longest_stall_ms: the longest time the window's event loop was kept
//     from a 5 ms timer, from the start of the opening to the redrawn page;
//   - info_ratio: cpu_s against the CPU time of `hollowplan-cli info`.
// Goals for 1 000 000 records: cpu_s <= 2, info_ratio <= 3.5,
// page_down_ms <= 300, peak_ratio <= 1.2, longest_stall_ms <= 100;
// 100 000 records: cpu_s <= 0.5.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "SurveyGenerator.h"
#include "app/AppContext.h"
#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/QtServices.h"
#include "doc/DocumentFile.h"
#include "platform/DataFolder.h"
#include "platform/SettingsStore.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long PeakKilobytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss;
}

// The fresh process: prints "<cpu s> <page-down ms> <peak kB> <stall ms>".
int WindowChild(int argc, char** argv, const char* file) {
  hp::app::CApplication application(argc, argv);
  hp::platform::MemorySettingsStore settings;
  hp::app::QtPrompter prompter;
  hp::app::QtShell shell;
  hp::app::AppContext context{settings, prompter, shell,
                              hp::platform::DataFolder(fs::path(QCoreApplication::applicationDirPath().toStdString()))};
  hp::app::CMainFrame frame(context);
  frame.resize(1600, 1000);
  frame.show();
  double cpu = 0;
  double pageDownMs = -1;
  long peak = 0;
  int stage = 0;  // 0 opened, 1 zoomed, 2 scrolled
  Clock::time_point keyAt;
  // The event loop's longest absence, seen by a timer that should fire every 5 ms.
  QTimer ticks;
  Clock::time_point lastTick;
  double stallMs = 0;
  QObject::connect(&ticks, &QTimer::timeout, &frame, [&] {
    const Clock::time_point now = Clock::now();
    stallMs = std::max(stallMs, std::chrono::duration<double, std::milli>(now - lastTick).count());
    lastTick = now;
  });
  QTimer::singleShot(0, &frame, [&] {
    lastTick = Clock::now();
    ticks.start(5);
    if (!frame.OpenDocument(file)) QApplication::exit(1);
    hp::app::CPlanView* view = frame.activeView();
    if (view == nullptr) QApplication::exit(1);
    QObject::connect(view, &hp::app::CPlanView::drawn, view, [&, view] {
      if (!view->pictureCurrent()) return;
      if (stage == 0) {
        cpu = CpuSeconds(RUSAGE_SELF);
        peak = PeakKilobytes(RUSAGE_SELF);
        stage = 1;
        view->document().worksheet().setZoomPercent(400);
        view->ViewChanged(false);
      } else if (stage == 1) {
        stage = 2;
        keyAt = Clock::now();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(view, &key);
      } else if (stage == 2) {
        pageDownMs = std::chrono::duration<double, std::milli>(Clock::now() - keyAt).count();
        QApplication::exit(0);
      }
    });
  });
  const int status = QApplication::exec();
  peak = std::max(peak, PeakKilobytes(RUSAGE_SELF));
  std::printf("%.3f %.1f %ld %.1f\n", cpu, pageDownMs, peak, stallMs);
  return status;
}

struct ChildFigures {
  double cpu = 0, pageDownMs = 0;
  long peakKb = 0;
  double stallMs = 0;
};

bool RunWindowChild(const fs::path& file, ChildFigures& figures) {
  char self[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return false;
  const std::string command =
      "'" + std::string(self, static_cast<size_t>(n)) + "' --window-child '" + file.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  const int fields =
      std::fscanf(pipe, "%lf %lf %ld %lf", &figures.cpu, &figures.pageDownMs, &figures.peakKb, &figures.stallMs);
  return pclose(pipe) == 0 && fields == 4;
}

// CPU seconds of `hollowplan-cli info FILE` in a child process.
double InfoCpuSeconds(const fs::path& file) {
  const double before = CpuSeconds(RUSAGE_CHILDREN);
  const std::string command = "'" HP_CLI_PROGRAM "' info '" + file.string() + "' > /dev/null";
  if (std::system(command.c_str()) != 0) return -1;
  return CpuSeconds(RUSAGE_CHILDREN) - before;
}

std::map<size_t, fs::path>& GeneratedFiles() {
  static std::map<size_t, fs::path> files;
  return files;
}

const fs::path& GeneratedDocument(size_t records) {
  std::map<size_t, fs::path>& files = GeneratedFiles();
  auto found = files.find(records);
  if (found != files.end()) return found->second;
  const fs::path file = fs::temp_directory_path() /
                        ("hollowplan-window-" + std::to_string(::getpid()) + "-" + std::to_string(records) + ".hpn");
  hp::doc::SurveyStore store;
  hp::bench::SurveyShape shape;
  shape.records = records;
  hp::bench::GenerateSurvey(store, shape);
  store.settings.computedCurrent = 1;
  if (!hp::doc::SaveDocument(file, store)) return files[records] = fs::path();
  return files[records] = file;
}

void BM_OpenAndDraw(benchmark::State& state) {
  const size_t records = static_cast<size_t>(state.range(0));
  const fs::path& file = GeneratedDocument(records);
  if (file.empty()) {
    state.SkipWithError("could not write the document");
    return;
  }
  ChildFigures figures;
  double info = 0;
  for (auto _ : state) {
    if (!RunWindowChild(file, figures)) {
      state.SkipWithError("the window child failed");
      return;
    }
    info = InfoCpuSeconds(file);
  }
  std::error_code ignored;
  const double fileBytes = static_cast<double>(fs::file_size(file, ignored));
  state.counters["cpu_s"] = figures.cpu;
  state.counters["info_cpu_s"] = info;
  state.counters["info_ratio"] = info > 0 ? figures.cpu / info : 0;
  state.counters["page_down_ms"] = figures.pageDownMs;
  state.counters["peak_MB"] = static_cast<double>(figures.peakKb) * 1024.0 / 1e6;
  state.counters["peak_ratio"] = static_cast<double>(figures.peakKb) * 1024.0 / fileBytes;
  state.counters["longest_stall_ms"] = figures.stallMs;
}

BENCHMARK(BM_OpenAndDraw)->Arg(100'000)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--window-child") == 0) return WindowChild(argc, argv, argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  for (const auto& [records, file] : GeneratedFiles()) fs::remove(file, ignored);
  return 0;
}
