// The text import's entry point: file checks and the choice of reader.
#include "import/TextImport.h"

#include <algorithm>
#include <cctype>

#include "base/ByteStream.h"
#include "import/SurvexReader.h"
#include "import/TextFile.h"

namespace hp::imports {
namespace {

bool EndsWithTxt(std::string name) {
  if (name.size() < 3) return false;
  name = name.substr(name.size() - 3);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name == "txt";
}

}  // namespace

bool IsPocketTopoHeader(std::string_view firstLine) {
  return firstLine.find(", 360)") != std::string_view::npos || firstLine.find(", 400)") != std::string_view::npos;
}

bool ImportTable(doc::SurveyStore& store, const std::filesystem::path& path, TableImportMode mode,
                 platform::Prompter& prompter, size_t maxRecords, uint64_t memory) {
  const std::string name = path.string();
  const auto refuse = [&](const std::string& message) {
    prompter.Message(message, platform::Icon::Exclamation);
    return false;
  };
  // Everything is checked before the text is read: a file that is not a
  // regular file, has another extension or is too large is not read at all.
  base::FileSource probe(path);
  if (!probe.IsOpen()) return refuse(name + messages::kCannotOpen);
  if (IsSurvexFile(path, "")) return ImportSurvex(store, path, mode, prompter, maxRecords, memory);
  if (!EndsWithTxt(name)) return refuse(name + messages::kBadExtension);
  const uint64_t size = probe.Size();
  if (size > kMaxTableFileSize) return refuse(name + messages::kTooLarge);
  const TextLayout layout = DetectTextLayout(probe, size);
  base::FileSource source(path);
  if (!source.IsOpen()) return refuse(name + messages::kCannotOpen);
  // Only the size seen at first is read, should the file grow meanwhile.
  TextLines lines(source, layout, size);
  std::string header;
  if (!lines.Next(header)) return refuse(name + messages::kEmptyFile + messages::kImportNotDone);
  if (IsSurvexFile(path, header)) return ImportSurvex(store, path, mode, prompter, maxRecords, memory);
  const bool pocketTopo = IsPocketTopoHeader(header);
  if (pocketTopo && size > kMaxPocketTopoFileSize) return refuse(name + messages::kTooLarge);

  // The records are read apart, with the document's settings (the PocketTopo
  // reader sets up instrument entries and must see which ones the kept
  // records use), and join the document only when the whole file could be
  // taken.
  const size_t memoryRecords = RecordsForMemory(memory);
  const size_t limit = std::min(maxRecords, memoryRecords);
  const bool append = mode == TableImportMode::Append;
  const size_t kept = append ? store.records.size() : 0;
  doc::SurveyStore read;
  read.settings = store.settings;
  if (append) read.records.swap(store.records);
  read.settings.recordCount = static_cast<uint32_t>(read.records.size());
  const auto finish = [&](bool take) {
    if (append) {
      read.records.swap(store.records);
      if (!take) store.records.resize(kept);
    } else if (take) {
      store.records = std::move(read.records);
    }
    return take;
  };
  const auto tooMany = [&](size_t needed) {
    finish(false);
    if (memoryRecords < maxRecords) {
      return refuse(needed > limit ? OutOfMemoryMessage(needed, memoryRecords) + messages::kImportNotDone
                                   : std::string(messages::kOutOfMemory) + messages::kImportNotDone);
    }
    return refuse(messages::kTooManyRecords);
  };

  if (pocketTopo) {
    std::vector<std::string> all{std::move(header)};
    for (std::string line; lines.Next(line);) all.push_back(std::move(line));
    if (!ReadPocketTopoLines(read, all, &prompter, limit)) return tooMany(limit);
  } else {
    TableReport report;
    report.zeroBytes = layout.zeroBytes;
    if (const LineConversion* replaced = lines.Replaced(); replaced && replaced->malformedBytes > 0) {
      report.malformedBytes = replaced->malformedBytes;
      report.malformedLineCount = 1;
      report.malformedLines.push_back(1);
    }
    ReadTable(read, header, lines, limit, report);
    if (const std::string refusal = report.Refusal(); !refusal.empty()) {
      finish(false);
      return refuse(name + "\n" + refusal);
    }
    if (report.needed > limit) return tooMany(report.needed);
    if (report.stations.Merged() > 0 &&
        prompter.AskYesNoCancel(report.stations.MergedQuestion(), platform::Icon::Question) != platform::Answer::Yes) {
      return finish(false);
    }
    if (const std::string notes = report.Notes(); !notes.empty()) prompter.Message(notes, platform::Icon::Exclamation);
  }

  finish(true);
  const size_t added = store.records.size() - kept;
  store.settings = read.settings;
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  store.settings.computedCurrent = added == 0 ? 1 : 0;
  return true;
}

}  // namespace hp::imports
