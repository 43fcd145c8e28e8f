// The font chooser of "Schriftarten": OK without a change keeps every field
// of the stored font; a change takes only what was changed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QTimer>
#include <functional>

#include "app/AppTestSupport.h"
#include "app/dialogs/DocumentDialogs.h"
#include "base/FixedText.h"
#include "doc/DocumentSettings.h"

namespace hp::app {
namespace {

doc::FontSetting Font(int32_t height, int32_t weight, uint8_t italic, uint8_t underline, uint8_t strikeOut,
                      const char* face) {
  // Width 7, turned by 90 degrees, output precision 3, clipping 2, quality
  // 1, pitch and family 34.
  doc::FontSetting f{height, 7, 900, 900, weight, italic, underline, strikeOut, 0, 3, 2, 1, 34, {}};
  base::SetText(f.faceName, face);
  return f;
}

std::string Fields(const doc::FontSetting& f) {
  return std::to_string(f.height) + " " + std::to_string(f.width) + " " + std::to_string(f.escapement) + " " +
         std::to_string(f.orientation) + " " + std::to_string(f.weight) + " " + std::to_string(f.italic) +
         std::to_string(f.underline) + std::to_string(f.strikeOut) + " " + std::to_string(f.charSet) + " " +
         std::to_string(f.outPrecision) + std::to_string(f.clipPrecision) + std::to_string(f.quality) + " " +
         std::to_string(f.pitchAndFamily) + " " + std::string(base::TextOf(f.faceName));
}

// Runs the chooser on `font`; `inDialog` acts on it before OK.
bool Choose(doc::FontSetting& font, const std::function<void(QFontDialog&)>& inDialog) {
  QTimer::singleShot(0, [&inDialog] {
    auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    inDialog(*dialog);
    dialog->accept();
  });
  return ChooseStoredFont(nullptr, QStringLiteral("Titel"), font);
}

TEST(FontChooserTest, OkWithoutAChangeKeepsEveryStoredField) {
  const doc::FontSetting fonts[] = {
      Font(-27, 700, 0, 0, 0, "Arial"),  // the title font: bold
      Font(-13, 400, 1, 1, 0, "Times New Roman"),
      Font(-16, 300, 0, 0, 1, "Courier New"),
      Font(15, 900, 1, 0, 1, "Schrift f\xFCr Pl\xE4ne"),  // a cell height, a face that is not installed
      Font(0, 0, 0, 0, 0, ""),                            // never set
  };
  for (const doc::FontSetting& stored : fonts) {
    doc::FontSetting font = stored;
    ASSERT_TRUE(Choose(font, [](QFontDialog&) {}));
    EXPECT_EQ(Fields(font), Fields(stored));
  }
}

TEST(FontChooserTest, AChangeTakesOnlyWhatChanged) {
  const doc::FontSetting stored = Font(-27, 700, 0, 0, 0, "Arial");
  doc::FontSetting font = stored;
  ASSERT_TRUE(Choose(font, [](QFontDialog& dialog) {
    QFont italic = dialog.currentFont();
    italic.setStyleName({});  // picked by slant, as from the style list
    italic.setItalic(true);
    dialog.setCurrentFont(italic);
  }));
  doc::FontSetting expected = stored;
  EXPECT_NE(font.italic, 0);
  expected.italic = font.italic;
  EXPECT_EQ(Fields(font), Fields(expected));
}

// The chooser opens on the stored weight and slant, also for a face that is
// not installed (shown as the face that stands in for it) and for a family
// whose style names are not the usual ones.
TEST(FontChooserTest, OpensOnTheStoredWeightAndSlant) {
  for (const char* face : {"Arial", "DejaVu Sans", "Schrift f\xFCr Pl\xE4ne"})
    for (const int weight : {400, 700})
      for (const uint8_t italic : {0, 1}) {
        doc::FontSetting font = Font(-20, weight, italic, 0, 0, face);
        QFont shown;
        ASSERT_TRUE(Choose(font, [&shown](QFontDialog& dialog) { shown = dialog.currentFont(); }));
        EXPECT_EQ(shown.weight() >= QFont::DemiBold, weight == 700) << face << weight;
        EXPECT_EQ(shown.italic(), italic != 0) << face << weight;
      }
}

}  // namespace
}  // namespace hp::app
