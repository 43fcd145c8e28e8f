// The text import's entry point: file checks and the choice of reader.
#include "import/TextImport.h"

#include <algorithm>
#include <cctype>

#include "import/TextFile.h"

namespace hp::imports {

bool IsPocketTopoHeader(std::string_view firstLine) {
  return firstLine.find(", 360)") != std::string_view::npos || firstLine.find(", 400)") != std::string_view::npos;
}

bool ImportTable(doc::SurveyStore& store, const std::filesystem::path& path, int mode,
                 platform::Prompter& prompter) {
  const std::string name = path.string();
  auto lines = ReadTextFileLines(path);
  if (!lines) {
    prompter.Message(name + messages::kCannotOpen, platform::Icon::Exclamation);
    return false;
  }
  std::string extension = name.size() >= 3 ? name.substr(name.size() - 3) : name;
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension != "txt") {
    prompter.Message(name + messages::kBadExtension, platform::Icon::Exclamation);
    return false;
  }
  if (mode == 0) {
    store.records.clear();
    store.settings.recordCount = 0;
  }
  store.settings.computedCurrent = 1;
  if (lines->empty()) return true;
  if (IsPocketTopoHeader(lines->front())) {
    ReadPocketTopoLines(store, *lines);
  } else {
    ReadTableLines(store, *lines, prompter);
  }
  return true;
}

}  // namespace hp::imports
