// "Schriftarten" and the font chooser: the fonts of doc/DocumentDialogs.h
// between the stored settings and Qt's font dialog.
#include "app/dialogs/FontsDialog.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <vector>

#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "app/dialogs/SettingsDialog.h"
#include "doc/DocumentDialogs.h"
#include "draw/Surface.h"
#include "gfx/QPainterSurface.h"

namespace hp::app {
namespace {

QFont ChooserFont(const doc::FontChoice& choice) {
  QFont font(FromStored(choice.faceName));
  if (choice.pointSize > 0) {
    font.setPointSizeF(choice.pointSize);
  } else {
    font.setPixelSize(std::max(1, choice.pixelSize));
  }
  font.setWeight(static_cast<QFont::Weight>(choice.weight));
  font.setItalic(choice.italic);
  font.setUnderline(choice.underline);
  font.setStrikeOut(choice.strikeOut);
  return font;
}

// The chooser lists installed families with their named styles and falls
// back to the first entry for anything else, so a bold font whose face is not
// installed, or whose style names differ, would open as "Normal" or
// "Oblique". It is shown as the installed face that stands in for it, in that
// face's nearest style.
QFont ShownInChooser(QFont font) {
  QString family = font.family();
  if (!QFontDatabase::families().contains(family)) family = QFontInfo(font).family();
  const QStringList styles = QFontDatabase::styles(family);
  std::vector<doc::FontStyleOffer> offers;
  for (const QString& style : styles) {
    const bool narrowOrWide = style.contains(QStringLiteral("Condensed")) || style.contains(QStringLiteral("Narrow")) ||
                              style.contains(QStringLiteral("Expanded")) || style.contains(QStringLiteral("Wide"));
    // QFont::italic() also counts an oblique cut as slanted.
    const QFont cut = QFontDatabase::font(family, style, 12);
    offers.push_back({static_cast<int>(cut.weight()), cut.italic(), narrowOrWide});
  }
  const int nearest = doc::NearestFontStyle(offers, static_cast<int>(font.weight()), font.italic());
  if (nearest < 0) return font;
  font.setFamily(family);
  font.setStyleName(styles[nearest]);
  return font;
}

doc::FontChoice ChosenFont(const QFont& font) {
  doc::FontChoice choice;
  choice.pointSize = font.pointSizeF();
  choice.pixelSize = font.pixelSize();
  choice.weight = static_cast<int>(font.weight());
  choice.italic = font.italic();
  choice.underline = font.underline();
  choice.strikeOut = font.strikeOut();
  choice.faceName = ToStored(font.family());
  return choice;
}

}  // namespace

doc::FontSetting FontAfterChooser(const doc::FontSetting& stored, const QFont& shown, const QFont& chosen) {
  doc::FontSetting taken = stored;
  doc::TakeFontChoice(taken, ChosenFont(chosen));
  doc::FontSetting result = stored;
  if (chosen.family() != shown.family())
    std::copy(std::begin(taken.faceName), std::end(taken.faceName), result.faceName);
  if (chosen.pointSizeF() != shown.pointSizeF() || chosen.pixelSize() != shown.pixelSize())
    result.height = taken.height;
  if (chosen.weight() != shown.weight()) result.weight = taken.weight;
  if (chosen.italic() != shown.italic()) result.italic = taken.italic;
  if (chosen.underline() != shown.underline()) result.underline = taken.underline;
  if (chosen.strikeOut() != shown.strikeOut()) result.strikeOut = taken.strikeOut;
  return result;
}

bool ChooseStoredFont(QWidget* parent, const QString& title, doc::FontSetting& font) {
  QFontDialog dialog(parent);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  dialog.setWindowTitle(title);
  dialog.setCurrentFont(ShownInChooser(ChooserFont(doc::DescribeFont(font))));
  // The chooser shows the nearest font it has, which may differ from the
  // stored one (a face that is not installed, a weight it lacks).
  const QFont shown = dialog.currentFont();
  if (dialog.exec() != QDialog::Accepted) return false;
  font = FontAfterChooser(font, shown, dialog.selectedFont());
  return true;
}

namespace {

class CFontsDialog final : public CSettingsDialog {
 public:
  CFontsDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings)
      : CSettingsDialog(app, parent, QStringLiteral("Schriftarten")), m_settings(settings) {
    m_model.Load(settings);
    auto* grid = new QGridLayout;
    for (int i = 0; i < doc::kEditedFontCount; ++i) {
      grid->addWidget(new QLabel(Q(doc::FontUseName(i)), this), i, 0);
      m_samples[i] = new QLabel(this);
      m_samples[i]->setMinimumWidth(260);
      grid->addWidget(m_samples[i], i, 1);
      auto* font = new QPushButton(QStringLiteral("Schriftart..."), this);
      auto* colour = new QPushButton(QStringLiteral("Farbe..."), this);
      connect(font, &QPushButton::clicked, this, [this, i] { ChooseFont(i); });
      connect(colour, &QPushButton::clicked, this, [this, i] { ChooseColour(i); });
      grid->addWidget(font, i, 2);
      grid->addWidget(colour, i, 3);
      ShowSample(i);
    }
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  }

 private:
  void ShowSample(int i) {
    QLabel* sample = m_samples[i];
    sample->setText(Q(doc::FontUseName(i)));
    sample->setFont(gfx::ToQFont(draw::MakeFont(m_model.fonts[i], sample->logicalDpiY())));
    sample->setStyleSheet(QStringLiteral("color: %1").arg(gfx::ToQColor(m_model.colours[i]).name()));
  }

  void ChooseFont(int i) {
    if (ChooseStoredFont(this, Q(doc::FontUseName(i)), m_model.fonts[i])) ShowSample(i);
  }

  void ChooseColour(int i) {
    const QColor chosen = QColorDialog::getColor(gfx::ToQColor(m_model.colours[i]), this, Q(doc::FontUseName(i)));
    if (!chosen.isValid()) return;
    m_model.colours[i] = gfx::FromQColor(chosen);
    ShowSample(i);
  }

  doc::DialogOutcome Store() override { return m_model.Apply(m_settings); }

  doc::DocumentSettings& m_settings;
  doc::FontsModel m_model;
  QLabel* m_samples[doc::kEditedFontCount] = {};
};

}  // namespace

bool RunFontsDialog(QWidget* parent, CPlanDoc& doc) {
  CFontsDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

}  // namespace hp::app
