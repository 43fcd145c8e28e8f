// "Farben": a button with a swatch for each colour of doc/DocumentDialogs.h.
#include "app/dialogs/ColoursDialog.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>

#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "app/dialogs/SettingsDialog.h"
#include "doc/DocumentDialogs.h"
#include "gfx/QPainterSurface.h"

namespace hp::app {
namespace {

QIcon Swatch(uint32_t colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(gfx::ToQColor(colour));
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, 15, 15);
  return QIcon(pixmap);
}

class CColoursDialog final : public CSettingsDialog {
 public:
  CColoursDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings)
      : CSettingsDialog(app, parent, QStringLiteral("Farben")), m_settings(settings) {
    m_model.Load(settings, app.settings);
    auto* lines = new QGroupBox(QStringLiteral("&Messlinien"), this);
    auto* falses = new QGroupBox(QStringLiteral("&Falschfarben"), this);
    auto* linesGrid = new QGridLayout(lines);
    auto* falseGrid = new QGridLayout(falses);
    auto* others = new QGridLayout;
    int other = 0;
    for (const doc::ColourSlot& slot : doc::ColourSlots()) {
      const bool inTable = slot.kind == doc::ColourKind::Line || slot.kind == doc::ColourKind::False;
      QWidget* owner = this;
      if (slot.kind == doc::ColourKind::Line) owner = lines;
      if (slot.kind == doc::ColourKind::False) owner = falses;
      auto* button = new QPushButton(Q(doc::ColourLabel(slot)), owner);
      button->setIcon(Swatch(m_model.Get(slot)));
      connect(button, &QPushButton::clicked, this, [this, slot, button] { Choose(slot, button); });
      if (inTable) {
        QGridLayout* grid = slot.kind == doc::ColourKind::Line ? linesGrid : falseGrid;
        grid->addWidget(button, slot.index / 8, slot.index % 8);
      } else {
        button->setStyleSheet(QStringLiteral("text-align: left"));
        others->addWidget(button, other / 2, other % 2);
        ++other;
      }
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines);
    layout->addWidget(falses);
    layout->addLayout(others);
    layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  }

 private:
  void Choose(const doc::ColourSlot& slot, QPushButton* button) {
    QString title = Q(doc::ColourLabel(slot)).remove(QLatin1Char('&'));
    if (slot.kind == doc::ColourKind::Line) title = QStringLiteral("Messlinie ") + title;
    if (slot.kind == doc::ColourKind::False) title = QStringLiteral("Falschfarbe ") + title;
    const QColor chosen = QColorDialog::getColor(gfx::ToQColor(m_model.Get(slot)), this, title);
    if (!chosen.isValid()) return;
    m_model.Set(slot, gfx::FromQColor(chosen));
    button->setIcon(Swatch(m_model.Get(slot)));
  }

  doc::DialogOutcome Store() override { return m_model.Apply(m_settings, app().settings); }

  doc::DocumentSettings& m_settings;
  doc::ColoursModel m_model;
};

}  // namespace

bool RunColoursDialog(QWidget* parent, CPlanDoc& doc) {
  CColoursDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

}  // namespace hp::app
