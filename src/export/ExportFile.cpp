#include "export/ExportFile.h"

#include "base/ByteStream.h"
#include "doc/DocumentFile.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {

std::string ExportExtension(const std::filesystem::path& path) {
  const std::string name = path.string();
  std::string extension = name.size() >= 3 ? name.substr(name.size() - 3) : name;
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension;
}

std::unique_ptr<ExportWriter> WriterFor(std::string_view extension, const platform::SettingsStore& settings) {
  if (extension == "txt") return std::make_unique<TableWriter>();
  if (extension == "kml") return std::make_unique<KmlWriter>(settings);
  if (extension == "gpx") return std::make_unique<GpxWriter>(settings);
  if (extension == "wrl") return std::make_unique<VrmlWriter>(settings);
  if (extension == "hvw") return std::make_unique<ViewerDataWriter>();
  if (extension == "ovl") return std::make_unique<OverlayWriter>();
  if (extension == "tro") return std::make_unique<VisualTopoWriter>();
  if (extension == "svx") return std::make_unique<SurvexWriter>();
  if (extension == "dxf") {
    if (settings.GetInt("Settings", "DXFFormat", 0) == 0) return std::make_unique<DxfStandardWriter>();
    return std::make_unique<DxfCaveCadWriter>();
  }
  return nullptr;
}

std::string_view DisplayTypeRefusal(std::string_view extension, doc::DisplayType type) {
  if (extension == "dxf" && !doc::IsPlaneType(type)) return messages::kOnlyPlaneTypes;
  if ((extension == "hvw" || extension == "wrl") && !doc::IsCameraType(type)) return messages::kOnlyAnimation;
  if (extension == "bmp" && type == doc::DisplayType::Protocol) return messages::kNoProtocolBitmap;
  return {};
}

bool ExportFile(const std::filesystem::path& path, const ExportContext& context, platform::Prompter& prompter) {
  const std::unique_ptr<ExportWriter> writer = WriterFor(ExportExtension(path), context.settings);
  if (!writer) {
    prompter.Message(path.string() + messages::kBadExtension, platform::Icon::Exclamation);
    return false;
  }
  if (const std::string refusal = writer->Refusal(context); !refusal.empty()) {
    prompter.Message(refusal, platform::Icon::Exclamation);
    return false;
  }
  // A number that turns out not to be finite while writing leaves the
  // temporary file unfinished: it goes, and an older file stays.
  WriteStatus status = WriteStatus::kWritten;
  const bool written = base::WriteFileAtomically(path, [&](base::ByteSink& sink) {
    status = RunWriter(*writer, sink, context);
    return status == WriteStatus::kWritten;
  });
  if (status == WriteStatus::kUnwritableNumber)
    prompter.Message(messages::kUnwritableSetting, platform::Icon::Exclamation);
  else if (!written) prompter.Message(path.string() + messages::kCannotOpen, platform::Icon::Exclamation);
  return written;
}

bool ExportDocumentCopy(const std::filesystem::path& path, doc::SurveyStore& store, doc::WriteMode mode,
                        platform::Prompter& prompter) {
  if (doc::SaveDocument(path, store, mode)) return true;
  prompter.Message(path.string() + messages::kCannotOpen, platform::Icon::Exclamation);
  return false;
}

}  // namespace hp::exports
