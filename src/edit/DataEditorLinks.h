// The linked files of a record ("Datei/URL", "Include-Datei"): what the
// button "Öffnen" opens and how, and where the "..." file chooser starts.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Prompter.h"
#include "platform/Shell.h"

namespace hp::edit {

struct LinkTarget {
  std::string target;         // UTF-8 file name or address
  bool startProgram = false;  // a Hollowplan document: a new instance of the program opens it
};

// An empty text opens nothing. "www." gets "http://" in front; a text with
// neither ":" nor "\\" (a network path) is relative to `documentFolder`
// (stored texts are Windows-1252).
std::optional<LinkTarget> ResolveLink(std::string_view stored, const std::filesystem::path& documentFolder);

// Opens the link through the shell; a request the desktop could not start
// is told with a message. False when nothing was opened.
bool OpenLink(std::string_view stored, const std::filesystem::path& documentFolder, platform::Shell& shell,
              platform::Prompter& prompter);

// The folder the file chooser starts in: that of the current text, the
// document's folder for an empty text; nothing for an address ("http:" or
// "www."), which gets no chooser.
std::optional<std::filesystem::path> ChooserFolder(std::string_view stored,
                                                   const std::filesystem::path& documentFolder);

// A filter of the form "Name (*.ext)|*.ext|" as a chooser filter
// "Name (*.ext)"; "*.*" matches every file ("*").
std::string ChooserFilter(std::string_view filter);

}  // namespace hp::edit
