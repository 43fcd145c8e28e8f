// Importing a file as the import command does, for the import benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

#include "calc/ComputePass.h"
#include "import/TextImport.h"
#include "platform/Prompter.h"

namespace hp::bench {

// Reads `file` into a new document, replacing its records, and runs the
// compute pass; counts the records and the bytes read.
inline void ImportAndCompute(benchmark::State& state, const std::filesystem::path& file) {
  platform::ScriptedPrompter prompter(platform::Answer::No);
  size_t records = 0;
  for (auto _ : state) {
    doc::SurveyStore store;
    store.SetDefaults();
    if (!imports::ImportTable(store, file, imports::TableImportMode::Replace, prompter)) {
      state.SkipWithError("import failed");
      return;
    }
    calc::RunComputeCommand(store, prompter);
    if (store.settings.computedCurrent != 1) {
      state.SkipWithError("the computation reported a problem");
      return;
    }
    records = store.records.size();
  }
  state.counters["records"] = static_cast<double>(records);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(file)));
}

}  // namespace hp::bench
