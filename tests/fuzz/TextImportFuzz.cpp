// Fuzzes the text import: the input is a text file's bytes, read by the
// table reader or, when its first line says so, by the PocketTopo reader, and
// then computed. Any input must give records without crashing or hanging,
// every number imported must be finite and within the import's bounds, and
// the computation must run on whatever came out.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "calc/ComputePass.h"
#include "import/ImportLimits.h"
#include "import/TextFile.h"
#include "import/TextImport.h"
#include "platform/Prompter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace hp;
  // Keep single inputs small enough that a run tries many of them.
  if (size > 64 * 1024) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = imports::SplitTextLines(bytes);
  for (const std::string& line : lines) {
    if (line.find('\n') != std::string::npos || (!line.empty() && line.back() == '\r')) {
      std::fprintf(stderr, "text import fuzz: line not split or carriage return kept\n");
      std::abort();
    }
  }
  doc::SurveyStore store;
  store.SetDefaults();
  store.records.clear();
  platform::ScriptedPrompter prompter(platform::Answer::No);
  if (!lines.empty() && imports::IsPocketTopoHeader(lines.front())) {
    imports::ReadPocketTopoLines(store, lines);
  } else if (!lines.empty()) {
    imports::ReadTableLines(store, lines, prompter);
  }
  if (store.records.size() > lines.size() * 2 + 2) {
    std::fprintf(stderr, "text import fuzz: more records than the file can give\n");
    std::abort();
  }
  for (const auto& r : store.records) {
    for (const double v : {r->length, r->azimuth, r->inclination, r->direction, r->x, r->y, r->z, r->refX, r->refY,
                           r->refZ, r->left, r->right, r->up, r->down, r->tapeStart, r->tapeEnd}) {
      if (!imports::IsImportableNumber(v)) {
        std::fprintf(stderr, "text import fuzz: a number out of bounds was imported\n");
        std::abort();
      }
    }
  }
  calc::RunComputeCommand(store, prompter);
  return 0;
}
