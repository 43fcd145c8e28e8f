// Writes the starting corpus of the document reader fuzzer into the folder
// given as its argument: valid document files of several format versions,
// each without its four-byte signature (the fuzzer feeds the bytes after the
// signature to the reader).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "doc/DocumentFile.h"
#include "doc/DocumentVersion.h"
#include "support/TestFile.h"

namespace {

using namespace hp;
namespace fs = std::filesystem;

constexpr uint32_t V(int major, int minor) { return doc::FormatVersion(major, minor); }

bool Save(const fs::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(folder / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The current version as the program writes it: two worksheets with
// positions and a few records of different kinds.
std::vector<uint8_t> CurrentDocument() {
  doc::SurveyStore store;
  store.SetDefaults();
  auto& reference = *store.records.front();
  reference.cave = reference.refCave = 1;
  reference.passage = reference.refPassage = 1;
  base::SetText(reference.point, "0");
  base::SetText(reference.refPoint, "0");
  reference.refX = reference.x = 32'500'000;
  reference.refY = reference.y = 5'270'000;
  reference.refZ = reference.z = 1200;
  const char* const points[] = {"1", "2", "3", "1", ""};
  for (int i = 0; i < 5; ++i) {
    auto r = std::make_unique<doc::SurveyRecord>();
    r->cave = r->refCave = 1;
    r->passage = r->refPassage = 1;
    base::SetText(r->refPoint, i == 0 ? "0" : points[i - 1]);
    base::SetText(r->point, points[i]);
    r->length = 4.5 + i;
    r->azimuth = 40.0 * i;
    r->inclination = -5.0 * i;
    r->ring = i == 3 ? 1 : 0;  // the fourth leg closes a loop onto "1"
    base::SetText(r->date, "14.08.2021");
    base::SetText(r->remark, "Tropfsteine");
    store.records.push_back(std::move(r));
  }
  auto second = std::make_unique<doc::Worksheet>();
  doc::InitWorksheet(*second);
  second->setSheetDesignation("Aufriss");
  second->setDisplayType(doc::DisplayType::Section);
  store.worksheets.push_back(std::move(second));
  for (auto& sheet : store.worksheets) {
    for (int p = 0; p < 2; ++p) {
      auto position = std::make_unique<doc::AnimationPosition>();
      position->azimuth = 90.0 * p;
      position->distance = 250;
      sheet->positions.push_back(std::move(position));
    }
  }
  store.settings.currentWorksheetIndex = 1;
  base::MemorySink sink;
  doc::WriteDocument(store, sink);
  return sink.data;
}

// A file before 4.01: old header, no settings block, records to the end;
// from 2.07 on its records hold their level.
std::vector<uint8_t> OldHeaderDocument(uint32_t version) {
  const bool level = version >= V(2, 7);
  auto file = test::TestFile::OldHeader(version, 1506, level ? 256 : 156, 3);
  for (int i = 0; i < 3; ++i) {
    if (level) file.Record<int32_t>(i, 252, 1 + i);
    file.Record<int32_t>(i, 120, 1).Record<int32_t>(i, 124, 1).Record<int32_t>(i, 128, i);
    file.Record<int32_t>(i, 132, 1).Record<int32_t>(i, 136, 1).Record<int32_t>(i, 140, i + 1);
    file.Record<double>(i, 112, 3.0 + i).Record<double>(i, 96, 120.0);
  }
  file.SheetText(0, 156, "Alter Plan").Sheet<int16_t>(0, 1289, -13);
  return file.Body();
}

// A file with a settings block of an older layout: smaller images, records
// with their point numbers and texts where that version had them.
std::vector<uint8_t> BlockDocument(uint32_t version, uint32_t settingsSize, uint32_t worksheetSize, uint32_t recordSize,
                                   int positions) {
  test::TestFile file(version, 1, 4, settingsSize, worksheetSize, recordSize);
  file.SettingsText(234, "Testh\xF6hle");
  for (int i = 0; i < 4; ++i) {
    file.Record<int32_t>(i, 120, 2).Record<int32_t>(i, 124, 1).Record<int32_t>(i, 128, i);
    file.Record<int32_t>(i, 132, 2).Record<int32_t>(i, 136, 1).Record<int32_t>(i, 140, i + 1);
    file.Record<double>(i, 112, 7.5).Record<double>(i, 104, -10.0);
    if (recordSize >= 297 + 81) file.RecordText(i, 297, "Bemerkung");
    if (recordSize >= 464) file.RecordText(i, 438, std::to_string(i + 1)).RecordText(i, 451, std::to_string(i));
  }
  if (positions > 0 && worksheetSize >= 1768) file.AddPositions(0, positions);
  return file.Body();
}

// An include file as surveyors keep them: the current version, one
// worksheet and a few records.
std::vector<uint8_t> IncludeDocument() {
  test::TestFile file(doc::kCurrentVersion, 1, 3);
  for (int i = 0; i < 3; ++i) {
    file.Record<int32_t>(i, 120, 3).Record<int32_t>(i, 124, 2).RecordText(i, 451, std::to_string(i));
    file.Record<int32_t>(i, 132, 3).Record<int32_t>(i, 136, 2).RecordText(i, 438, std::to_string(i + 1));
    file.Record<double>(i, 112, 2.0).Record<int32_t>(i, 252, 1).Record<int32_t>(i, 414, 1);
  }
  return file.Body();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const fs::path folder = argv[1];
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s\n", folder.c_str());
    return 1;
  }
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds = {
      {"current-22.08", CurrentDocument()},
      {"old-header-1.05", OldHeaderDocument(V(1, 5))},
      {"old-header-2.10", OldHeaderDocument(0x00021000)},
      {"old-header-4.00", OldHeaderDocument(V(4, 0))},
      {"block-7.09", BlockDocument(V(7, 9), 2496, 1668, 438, 0)},
      {"block-13.04", BlockDocument(V(13, 4), 2662, 2392, 484, 2)},
      {"block-21.00", BlockDocument(V(21, 0), 4358, 2822, 992, 1)},
      {"build-22.08.11", BlockDocument(0x00220811, 6740, 2850, 1446, 1)},
      {"test-build-22.08", BlockDocument(doc::kCurrentVersion | doc::kTestBuildBit, 6740, 2850, 1446, 0)},
      {"test-build-22.07", BlockDocument(V(22, 7) | doc::kTestBuildBit, 6740, 2850, 1446, 0)},
      {"beta-20.00", BlockDocument(0x00140000, 4358, 2822, 992, 0)},
      {"include", IncludeDocument()},
  };
  for (const auto& [name, bytes] : seeds) {
    if (!Save(folder, name, bytes)) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
  }
  return 0;
}
