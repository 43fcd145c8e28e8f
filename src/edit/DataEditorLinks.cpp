// Opening a record's linked file or address.
#include "edit/DataEditorLinks.h"

#include "base/Cp1252.h"
#include "base/StoredPath.h"
#include "edit/DataEditorTexts.h"

namespace hp::edit {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    if (base::Cp1252ToLower(static_cast<unsigned char>(tail[i])) != static_cast<unsigned char>(suffix[i])) {
      return false;
    }
  }
  return true;
}

bool IsAddress(std::string_view stored) {
  return StartsWith(stored, "www.") || EndsWithIgnoringCase(stored.substr(0, 5), "http:");
}

std::string Utf8Path(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::optional<LinkTarget> ResolveLink(std::string_view stored, const std::filesystem::path& documentFolder) {
  if (stored.empty()) return std::nullopt;
  std::string target;
  if (StartsWith(stored, "www.")) {
    target = "http://" + base::Cp1252ToUtf8(stored);
  } else if (stored.find(':') == std::string_view::npos && stored.find("\\\\") == std::string_view::npos) {
    target = Utf8Path(base::ResolveStoredName(documentFolder, stored));
  } else {
    target = base::Cp1252ToUtf8(stored);
  }
  const bool document = EndsWithIgnoringCase(target, ".hpn");
  return LinkTarget{std::move(target), document};
}

bool OpenLink(std::string_view stored, const std::filesystem::path& documentFolder, platform::Shell& shell,
              platform::Prompter& prompter) {
  const auto link = ResolveLink(stored, documentFolder);
  if (!link) return false;
  const bool started = link->startProgram ? shell.StartProgram(link->target) : shell.Open(link->target);
  if (!started) prompter.Message(link->target + std::string(texts::kCannotOpen), platform::Icon::Exclamation);
  return started;
}

std::optional<std::filesystem::path> ChooserFolder(std::string_view stored,
                                                   const std::filesystem::path& documentFolder) {
  if (IsAddress(stored)) return std::nullopt;
  if (stored.empty()) return documentFolder;
  return base::ResolveStoredName(documentFolder, stored).parent_path();
}

std::string ChooserFilter(std::string_view filter) {
  std::string result;
  while (!filter.empty()) {
    const size_t bar = filter.find('|');
    if (bar == std::string_view::npos) break;
    std::string_view name = filter.substr(0, bar);
    filter.remove_prefix(bar + 1);
    const size_t end = filter.find('|');
    std::string_view patterns = filter.substr(0, end);
    filter.remove_prefix(end == std::string_view::npos ? filter.size() : end + 1);
    if (const size_t open = name.rfind(" ("); open != std::string_view::npos) name = name.substr(0, open);
    std::string mapped;
    while (!patterns.empty()) {
      const size_t semicolon = patterns.find(';');
      const std::string_view pattern = patterns.substr(0, semicolon);
      if (!mapped.empty()) mapped += ' ';
      mapped += pattern == "*.*" ? std::string("*") : std::string(pattern);
      patterns.remove_prefix(semicolon == std::string_view::npos ? patterns.size() : semicolon + 1);
    }
    if (!result.empty()) result += ";;";
    result += std::string(name) + " (" + mapped + ")";
  }
  return result;
}

}  // namespace hp::edit
