// The export command's flow.
#include "export/ExportCommand.h"

#include <string>

#include "export/ExportChoices.h"
#include "export/ExportFile.h"
#include "export/PrepareView.h"

namespace hp::exports {

ExportModes ExportModes::FromSettings(const platform::SettingsStore& settings) {
  ExportModes modes;
  if (LoadChoice(settings, ExportOptionsDialog::Table) == 1) modes.table = TableIncludes::All;
  if (LoadChoice(settings, ExportOptionsDialog::DocumentCopy) == 1) modes.copy = doc::WriteMode::IncludesAsOrdinary;
  return modes;
}

bool ExportCommand::Allows(const std::filesystem::path& path, const doc::Worksheet& worksheet) {
  const std::string_view refusal = DisplayTypeRefusal(ExportExtension(path), worksheet.displayType());
  if (refusal.empty()) return true;
  m_prompter.Message(refusal, platform::Icon::Exclamation);
  return false;
}

bool ExportCommand::Run(doc::SurveyStore& store, const std::filesystem::path& path, ExportModes modes) {
  if (!Allows(path, *store.currentWorksheet)) return false;
  const std::string extension = ExportExtension(path);
  // A bitmap is the picture the drawing makes, not a writer's file.
  if (extension == "bmp" && m_bitmap) return m_bitmap(path, m_prompter);
  if (extension == "hpn") return ExportDocumentCopy(path, store, modes.copy, m_prompter);

  // The writers read the worksheet's picture: the projected points and each
  // record's colour.
  PreparedView prepared;
  if (const auto writer = WriterFor(extension, m_settings); writer && writer->UsesDrawing())
    PrepareView(prepared, store, m_settings);
  const ExportContext context{store, *store.currentWorksheet, m_settings, prepared.Drawn(), modes.table};
  return ExportFile(path, context, m_prompter);
}

}  // namespace hp::exports
