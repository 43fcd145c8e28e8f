// The text import's entry point: file checks and the choice of reader.
#include "import/TextImport.h"

#include <algorithm>
#include <cctype>

#include "base/ByteStream.h"
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

bool ImportTable(doc::SurveyStore& store, const std::filesystem::path& path, int mode,
                 platform::Prompter& prompter, size_t maxRecords) {
  const std::string name = path.string();
  // Everything is checked before the text is read: a file that is not a
  // regular file, has another extension or is too large is not read at all.
  base::FileSource probe(path);
  if (!probe.IsOpen()) {
    prompter.Message(name + messages::kCannotOpen, platform::Icon::Exclamation);
    return false;
  }
  if (!EndsWithTxt(name)) {
    prompter.Message(name + messages::kBadExtension, platform::Icon::Exclamation);
    return false;
  }
  const uint64_t size = probe.Size();
  if (size > kMaxTableFileSize) {
    prompter.Message(name + messages::kTooLarge, platform::Icon::Exclamation);
    return false;
  }
  const TextEncoding encoding = DetectTextEncoding(probe, size);
  base::FileSource source(path);
  if (!source.IsOpen()) {
    prompter.Message(name + messages::kCannotOpen, platform::Icon::Exclamation);
    return false;
  }
  // Only the size seen at first is read, should the file grow meanwhile.
  TextLines lines(source, encoding, size);
  std::string header;
  const bool any = lines.Next(header);
  const bool pocketTopo = any && IsPocketTopoHeader(header);
  if (pocketTopo && size > kMaxPocketTopoFileSize) {
    prompter.Message(name + messages::kTooLarge, platform::Icon::Exclamation);
    return false;
  }

  // The records are read apart, with the document's settings (the PocketTopo
  // reader sets up instrument entries and must see which ones the kept
  // records use), and join the document only when the whole file could be
  // taken.
  const size_t kept = mode == 0 ? 0 : store.records.size();
  doc::SurveyStore read;
  read.settings = store.settings;
  if (mode != 0) read.records.swap(store.records);
  read.settings.recordCount = static_cast<uint32_t>(read.records.size());
  bool complete = true;
  if (pocketTopo) {
    std::vector<std::string> all{std::move(header)};
    for (std::string line; lines.Next(line);) all.push_back(std::move(line));
    complete = ReadPocketTopoLines(read, all, &prompter, maxRecords);
  } else if (any) {
    complete = ReadTableLines(read, header, lines, prompter, maxRecords);
  }
  if (mode != 0) {
    read.records.swap(store.records);
    if (!complete) store.records.resize(kept);
  }
  if (!complete) {
    prompter.Message(messages::kTooManyRecords, platform::Icon::Exclamation);
    return false;
  }

  if (mode == 0) store.records = std::move(read.records);
  const size_t added = store.records.size() - kept;
  store.settings = read.settings;
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  store.settings.computedCurrent = added == 0 ? 1 : 0;
  return true;
}

}  // namespace hp::imports
