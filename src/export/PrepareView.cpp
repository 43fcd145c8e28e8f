#include "export/PrepareView.h"

#include "doc/DisplayType.h"
#include "draw/RecordingSurface.h"
#include "draw/Surface.h"

namespace hp::exports {
namespace {

constexpr draw::Size kScreen{1280, 1024};

// Takes every primitive and keeps none; text is measured as the recording
// surface measures it.
class BlankSurface final : public draw::Surface {
 public:
  explicit BlankSurface(draw::DeviceCaps caps) : m_caps(caps) {}
  draw::DeviceCaps Caps() const override { return m_caps; }
  void SetPen(const draw::Pen&) override {}
  void SetBrush(const draw::Brush&) override {}
  void SetFont(const draw::Font& font) override { m_font = font; }
  void SetTextColour(draw::Colour) override {}
  void MoveTo(draw::Point) override {}
  void LineTo(draw::Point) override {}
  void Rectangle(const draw::Rect&) override {}
  void Ellipse(const draw::Rect&) override {}
  void Text(draw::Point, std::string_view, unsigned) override {}
  draw::Size TextExtent(std::string_view text) const override {
    return draw::RecordingSurface::MeasureText(text, m_font);
  }
  void DrawImage(const draw::Image&, const draw::Rect&) override {}

 private:
  draw::DeviceCaps m_caps;
  draw::Font m_font;
};

}  // namespace

void PrepareView(PreparedView& prepared, doc::SurveyStore& store, const platform::SettingsStore& settings,
                 platform::Prompter* prompter, const std::filesystem::path& documentFolder) {
  doc::Worksheet& worksheet = *store.currentWorksheet;
  if (!doc::IsDrawnType(worksheet.displayType())) return;
  BlankSurface surface(draw::ScreenCaps(kScreen));
  draw::WorksheetDrawingOptions options;
  options.window = kScreen;
  options.screen = kScreen;
  options.documentFolder = documentFolder;
  options.prompter = prompter;
  prepared.drawing = draw::DrawWorksheet(surface, store, worksheet, prepared.view, settings, options);
}

}  // namespace hp::exports
