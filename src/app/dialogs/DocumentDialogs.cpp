// The document settings dialogs: widgets bound to the dialog logic of
// doc/DocumentDialogs.h and calc/InstrumentDialog.h.
#include "app/dialogs/DocumentDialogs.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/DialogBase.h"
#include "app/PlanDoc.h"
#include "base/Cp1252.h"
#include "calc/InstrumentDialog.h"
#include "doc/DocumentDialogs.h"
#include "draw/Surface.h"
#include "gfx/QPainterSurface.h"

namespace hp::app {
namespace {

// Program texts (UTF-8) and stored texts (Windows-1252) to Qt and back.
QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
QString FromStored(std::string_view cp1252) { return Q(base::Cp1252ToUtf8(cp1252)); }
std::string ToStored(const QString& text) { return base::Utf8ToCp1252(text.toStdString()); }

// A multi-line field that takes no more than `maxLength` stored characters
// (a line break counts two), like an edit control with a text limit.
void LimitLines(QPlainTextEdit* edit, size_t maxLength) {
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxLength] {
    const std::string stored = doc::ToStoredLines(ToStored(edit->toPlainText()));
    if (stored.size() <= maxLength) return;
    edit->setPlainText(FromStored(doc::ToEditLines(doc::LimitStoredText(stored, maxLength))));
    edit->moveCursor(QTextCursor::End);
  });
}

QPlainTextEdit* LinesEdit(QWidget* parent, std::string_view stored, size_t maxLength) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setPlainText(FromStored(doc::ToEditLines(stored)));
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  LimitLines(edit, maxLength);
  return edit;
}

QLineEdit* LineEdit(QWidget* parent, const std::string& stored, size_t maxLength) {
  auto* edit = new QLineEdit(FromStored(stored), parent);
  edit->setMaxLength(static_cast<int>(maxLength));
  return edit;
}

std::string StoredLines(const QPlainTextEdit* edit) { return doc::ToStoredLines(ToStored(edit->toPlainText())); }

// A refused entry: its message, then the field gets the focus.
void ShowRefusal(platform::Prompter& prompter, const base::FieldFault<int>& fault, QWidget* field) {
  prompter.Message(fault.message, platform::Icon::Exclamation);
  if (field == nullptr) return;
  field->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
  if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->lineEdit() != nullptr) {
    combo->lineEdit()->selectAll();
  }
}

// What the document does after a confirmed dialog.
void Finish(CPlanDoc& doc, const doc::DialogOutcome& outcome) {
  if (outcome.modified) doc.setModified();
  if (outcome.recompute) {
    doc.Compute();  // redraws the views itself
  } else if (outcome.redraw) {
    doc.UpdateAllViews();
  }
}

// The common shape: a dialog whose OK asks its logic to store the values
// and stays open when an entry is refused.
class CSettingsDialog : public CDialogBase {
 public:
  CSettingsDialog(AppContext& app, QWidget* parent, const QString& caption) : CDialogBase(app, parent, caption) {}
  const doc::DialogOutcome& outcome() const { return m_outcome; }

  void accept() override {
    m_outcome = Store();
    if (m_outcome.fault) {
      ShowRefusal(app().prompter, *m_outcome.fault, FieldWidget(m_outcome.fault->field));
      return;
    }
    CDialogBase::accept();
  }

 protected:
  virtual doc::DialogOutcome Store() = 0;
  virtual QWidget* FieldWidget(int field) const {
    const auto it = m_fields.find(field);
    return it != m_fields.end() ? it->second : nullptr;
  }
  std::map<int, QWidget*> m_fields;

 private:
  doc::DialogOutcome m_outcome;
};

bool RunSettingsDialog(CSettingsDialog& dialog, CPlanDoc& doc) {
  if (dialog.exec() != QDialog::Accepted) return false;
  Finish(doc, dialog.outcome());
  return true;
}

// ---- "Dokument" -----------------------------------------------------------

class CDocumentDialog final : public CSettingsDialog {
 public:
  CDocumentDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings)
      : CSettingsDialog(app, parent, QStringLiteral("Dokument")), m_settings(settings) {
    using M = doc::DocumentDialogModel;
    m_model.Load(settings);
    auto edit = [this](M::Field field, const std::string& text) {
      QLineEdit* e = LineEdit(this, text, M::MaxLength(field));
      m_fields[field] = e;
      return e;
    };
    m_title = edit(M::Title, m_model.title);
    m_title2 = edit(M::Title2, m_model.title2);
    m_cadastre = edit(M::CadastreDesignation, m_model.cadastreDesignation);
    m_cadastreNumber = edit(M::CadastreNumber, m_model.cadastreNumber);
    m_zone = edit(M::UtmZone, m_model.utmZone);
    m_band = edit(M::UtmBand, m_model.utmBand);
    m_convergence = edit(M::MeridianConvergence, m_model.meridianConvergence);
    m_description = LinesEdit(this, m_model.description, M::MaxLength(M::Description));
    m_fields[M::Description] = m_description;
    m_band->setMaximumWidth(40);
    m_zone->setMaximumWidth(60);

    auto* grid = new QGridLayout;
    auto label = [this, grid](const char* text, QWidget* buddy, int row) {
      auto* l = new QLabel(Q(text), this);
      l->setBuddy(buddy);
      grid->addWidget(l, row, 0);
    };
    label("&Titel", m_title, 0);
    grid->addWidget(m_title, 0, 1, 1, 3);
    grid->addWidget(m_title2, 1, 1, 1, 3);
    label("&Kataster", m_cadastre, 2);
    grid->addWidget(m_cadastre, 2, 1, 1, 2);
    grid->addWidget(m_cadastreNumber, 2, 3);
    label("&UTM-Koordinaten-Zone", m_zone, 3);
    auto* zone = new QHBoxLayout;
    zone->addWidget(m_zone);
    zone->addWidget(m_band);
    zone->addStretch();
    grid->addLayout(zone, 3, 1);
    label("Meridiankonvergenz", m_convergence, 4);
    grid->addWidget(m_convergence, 4, 1);
    label("&Beschreibung", m_description, 5);
    grid->addWidget(m_description, 6, 0, 1, 4);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
    resize(560, 420);
  }

 private:
  doc::DialogOutcome Store() override {
    m_model.title = ToStored(m_title->text());
    m_model.title2 = ToStored(m_title2->text());
    m_model.cadastreDesignation = ToStored(m_cadastre->text());
    m_model.cadastreNumber = ToStored(m_cadastreNumber->text());
    m_model.utmZone = ToStored(m_zone->text());
    m_model.utmBand = ToStored(m_band->text());
    m_model.meridianConvergence = ToStored(m_convergence->text());
    m_model.description = StoredLines(m_description);
    return m_model.Apply(m_settings);
  }

  doc::DocumentSettings& m_settings;
  doc::DocumentDialogModel m_model;
  QLineEdit *m_title, *m_title2, *m_cadastre, *m_cadastreNumber, *m_zone, *m_band, *m_convergence;
  QPlainTextEdit* m_description;
};

// ---- "Optionen Daten" -----------------------------------------------------

class CDataOptionsDialog final : public CSettingsDialog {
 public:
  CDataOptionsDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings)
      : CSettingsDialog(app, parent, QStringLiteral("Optionen Daten")), m_settings(settings) {
    using M = doc::DataOptionsModel;
    m_model.Load(settings);

    auto* adjustment = new QGroupBox(QStringLiteral("Ringschlussausgleich"), this);
    auto* adjustmentLayout = new QVBoxLayout(adjustment);
    m_adjustment = new QButtonGroup(this);
    const char* choices[] = {"&Kein Ringschlussausgleich", "Lineare &Interpolation der Koordinaten",
                             "Lineare Interpolation, &Senkrechte erhalten"};
    for (int i = 0; i < 3; ++i) {
      auto* radio = new QRadioButton(Q(choices[i]), adjustment);
      radio->setChecked(i == m_model.loopAdjustment);
      m_adjustment->addButton(radio, i);
      adjustmentLayout->addWidget(radio);
    }
    m_fields[M::LoopAdjustment] = m_adjustment->button(0);

    auto* limits = new QGroupBox(QStringLiteral("Grenzwinkel"), this);
    auto* limitsLayout = new QGridLayout(limits);
    m_vertical = new QLineEdit(Q(m_model.verticalLimit), limits);
    m_acute = new QLineEdit(Q(m_model.acuteLimit), limits);
    AddRow(limitsLayout, 0, "&Querschnitt senkrecht", m_vertical);
    AddRow(limitsLayout, 1, "Querschnitt am spitzen &Winkel", m_acute);
    m_fields[M::VerticalLimit] = m_vertical;
    m_fields[M::AcuteLimit] = m_acute;

    auto* tolerances = new QGroupBox(QStringLiteral("Suchtoleranzen"), this);
    auto* tolerancesLayout = new QGridLayout(tolerances);
    m_length = Choice(tolerances, doc::LengthToleranceChoices(), m_model.lengthTolerance);
    m_angle = Choice(tolerances, doc::AngleToleranceChoices(), m_model.angleTolerance);
    AddRow(tolerancesLayout, 0, "&L\u00e4nge, Koordinaten", m_length);
    AddRow(tolerancesLayout, 1, "&Neigung, Azimut", m_angle);
    m_fields[M::LengthTolerance] = m_length;
    m_fields[M::AngleTolerance] = m_angle;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(adjustment);
    layout->addWidget(limits);
    layout->addWidget(tolerances);
    layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  }

 private:
  static void AddRow(QGridLayout* grid, int row, const char* text, QWidget* field) {
    auto* label = new QLabel(Q(text), field->parentWidget());
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
  }

  static QComboBox* Choice(QWidget* parent, const std::vector<std::string>& choices, const std::string& text) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& choice : choices) combo->addItem(Q(choice));
    combo->setCurrentText(Q(text));
    return combo;
  }

  doc::DialogOutcome Store() override {
    m_model.loopAdjustment = m_adjustment->checkedId();
    m_model.verticalLimit = ToStored(m_vertical->text());
    m_model.acuteLimit = ToStored(m_acute->text());
    m_model.lengthTolerance = ToStored(m_length->currentText());
    m_model.angleTolerance = ToStored(m_angle->currentText());
    return m_model.Apply(m_settings);
  }

  doc::DocumentSettings& m_settings;
  doc::DataOptionsModel m_model;
  QButtonGroup* m_adjustment;
  QLineEdit *m_vertical, *m_acute;
  QComboBox *m_length, *m_angle;
};

// ---- "Ebenen" and "Vermesser" ---------------------------------------------

class CNamesDialog final : public CSettingsDialog {
 public:
  CNamesDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings, doc::NameList list)
      : CSettingsDialog(app, parent, Q(doc::NameListModel(list).Caption())), m_settings(settings), m_model(list) {
    m_model.Load(settings);
    m_text = LinesEdit(this, m_model.text, doc::kMaxNamesLength);
    m_fields[doc::NameListModel::Text] = m_text;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
    resize(320, 300);
  }

 private:
  doc::DialogOutcome Store() override {
    m_model.text = StoredLines(m_text);
    return m_model.Apply(m_settings);
  }

  doc::DocumentSettings& m_settings;
  doc::NameListModel m_model;
  QPlainTextEdit* m_text;
};

// ---- "Schriftarten" -------------------------------------------------------

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
  if (chosen.family() != shown.family()) std::copy(std::begin(taken.faceName), std::end(taken.faceName), result.faceName);
  if (chosen.pointSizeF() != shown.pointSizeF() || chosen.pixelSize() != shown.pixelSize()) result.height = taken.height;
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

// ---- "Farben" -------------------------------------------------------------

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

// ---- "Geräte" -------------------------------------------------------------

class CInstrumentsDialog final : public CSettingsDialog {
 public:
  CInstrumentsDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings)
      : CSettingsDialog(app, parent, Q("Ger\u00e4te")), m_settings(settings), m_model(settings) {
    m_table = new QTableWidget(doc::kInstrumentCount, calc::kInstrumentColumnCount, this);
    QStringList columns, rows;
    for (int c = 0; c < calc::kInstrumentColumnCount; ++c) {
      columns << Q(calc::InstrumentColumnTitle(calc::InstrumentColumnAt(c)));
    }
    for (int number = 1; number <= doc::kInstrumentCount; ++number) {
      const QString label = Q(calc::InstrumentRowLabel(number));
      rows << QString(label).remove(QLatin1Char('&'));
      // "&1" to "&9": Alt and the digit go to the row.
      if (const qsizetype amp = label.indexOf(QLatin1Char('&')); amp >= 0 && amp + 1 < label.size()) {
        auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + label.at(amp + 1)), this);
        connect(shortcut, &QShortcut::activated, this, [this, number] { Cell(number, 0)->setFocus(); });
      }
    }
    m_table->setHorizontalHeaderLabels(columns);
    m_table->setVerticalHeaderLabels(rows);
    for (int number = 1; number <= doc::kInstrumentCount; ++number) {
      for (int c = 0; c < calc::kInstrumentColumnCount; ++c) m_table->setCellWidget(number - 1, c, MakeCell(number, c));
    }
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
    resize(900, 560);
  }

 private:
  QWidget* MakeCell(int number, int position) {
    const calc::InstrumentColumn column = calc::InstrumentColumnAt(position);
    if (calc::IsListColumn(column)) {
      auto* combo = new QComboBox(m_table);
      for (int i = 0; i < calc::ChoiceCount(column); ++i) combo->addItem(Q(calc::ChoiceText(column, i)));
      combo->setCurrentIndex(m_model.Choice(number, column));  // -1 (empty) for a stored value off the list
      return combo;
    }
    if (column == calc::InstrumentColumn::Name) {
      return LineEdit(m_table, m_model.Text(number, column), calc::kInstrumentNameMax);
    }
    auto* edit = new QLineEdit(Q(m_model.Text(number, column)), m_table);
    edit->setAlignment(Qt::AlignRight);
    return edit;
  }

  QWidget* Cell(int number, int position) const { return m_table->cellWidget(number - 1, position); }

  QWidget* FieldWidget(int field) const override {
    if (field < 0) return nullptr;
    const int number = calc::InstrumentOfField(field);
    const calc::InstrumentColumn column = calc::ColumnOfField(field);
    for (int c = 0; c < calc::kInstrumentColumnCount; ++c) {
      if (calc::InstrumentColumnAt(c) == column) {
        m_table->scrollTo(m_table->model()->index(number - 1, c));
        return Cell(number, c);
      }
    }
    return nullptr;
  }

  doc::DialogOutcome Store() override {
    for (int number = 1; number <= doc::kInstrumentCount; ++number) {
      for (int c = 0; c < calc::kInstrumentColumnCount; ++c) {
        const calc::InstrumentColumn column = calc::InstrumentColumnAt(c);
        if (auto* combo = qobject_cast<QComboBox*>(Cell(number, c))) {
          m_model.SetChoice(number, column, combo->currentIndex());
        } else if (auto* edit = qobject_cast<QLineEdit*>(Cell(number, c))) {
          m_model.SetText(number, column, ToStored(edit->text()));
        }
      }
    }
    return m_model.Apply(m_settings);
  }

  doc::DocumentSettings& m_settings;
  calc::InstrumentDialogModel m_model;
  QTableWidget* m_table;
};

}  // namespace

bool RunDocumentDialog(QWidget* parent, CPlanDoc& doc) {
  CDocumentDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

bool RunDataOptionsDialog(QWidget* parent, CPlanDoc& doc) {
  CDataOptionsDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

bool RunFontsDialog(QWidget* parent, CPlanDoc& doc) {
  CFontsDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

bool RunColoursDialog(QWidget* parent, CPlanDoc& doc) {
  CColoursDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

bool RunInstrumentsDialog(QWidget* parent, CPlanDoc& doc) {
  CInstrumentsDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

bool RunLevelNamesDialog(QWidget* parent, CPlanDoc& doc) {
  CNamesDialog dialog(doc.app(), parent, doc.store().settings, doc::NameList::Levels);
  return RunSettingsDialog(dialog, doc);
}

bool RunSurveyorNamesDialog(QWidget* parent, CPlanDoc& doc) {
  CNamesDialog dialog(doc.app(), parent, doc.store().settings, doc::NameList::Surveyors);
  return RunSettingsDialog(dialog, doc);
}

}  // namespace hp::app
