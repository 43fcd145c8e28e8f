// The export command's flow once its choices are made ("E&xportieren...", the
// Google Earth command and the batch tool's export): the refusal of the
// worksheet's display type, the writer the extension chooses, the picture the
// writer reads, and the file written through a temporary file beside it. The
// window's dialogs and the batch tool's arguments only gather the choices.
#pragma once

#include <filesystem>
#include <functional>
#include <utility>

#include "doc/DocumentFile.h"
#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "export/ExportWriter.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::exports {

// The include modes of the two formats that have one.
struct ExportModes {
  TableIncludes table = TableIncludes::Without;
  doc::WriteMode copy = doc::WriteMode::AsRead;

  // "ExportTAB" and "ExportHPN", as the options dialogs left them (1: the
  // records of include files as ordinary ones; any other number: the
  // default).
  static ExportModes FromSettings(const platform::SettingsStore& settings);
};

// Writes the picture of the store's current worksheet to `path` as a bitmap
// file; false, after its message, when no file was written. The host draws
// the picture: the window hands in what its view shows, the batch tool a
// drawing on a screen-sized image.
using BitmapExport = std::function<bool(const std::filesystem::path& path, platform::Prompter& prompter)>;

class ExportCommand {
 public:
  // `bitmap` writes a bitmap export; without it a bitmap is refused as an
  // extension no writer takes.
  ExportCommand(const platform::SettingsStore& settings, platform::Prompter& prompter, BitmapExport bitmap = {})
      : m_settings(settings), m_prompter(prompter), m_bitmap(std::move(bitmap)) {}

  // Whether the format of `path` takes the worksheet's display type; when not,
  // after the refusal's message. The window asks before its options dialog.
  bool Allows(const std::filesystem::path& path, const doc::Worksheet& worksheet);

  // Exports the store's current worksheet to `path` in the format its
  // extension chooses: refused by display type as Allows says; a bitmap by the
  // host's picture; a document copy in `modes.copy`; any other format by its
  // writer, which reads the worksheet's picture worked out afresh and takes
  // `modes.table`. True when the file was written; false after the message
  // that says why not (an older file of that name stays as it was).
  bool Run(doc::SurveyStore& store, const std::filesystem::path& path, ExportModes modes);

 private:
  const platform::SettingsStore& m_settings;
  platform::Prompter& m_prompter;
  BitmapExport m_bitmap;
};

}  // namespace hp::exports
