// The survey data editor window: widgets bound to edit/DataEditor.h.
#include "app/dialogs/DataEditorDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/dialogs/CalculatorDialog.h"
#include "app/dialogs/CoordinatesDialog.h"
#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "edit/DataEditorLinks.h"
#include "edit/DataEditorTexts.h"
#include "import/DocumentImport.h"

namespace hp::app {
namespace {

using edit::Button;
using edit::Field;

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
QString FromStored(std::string_view cp1252) { return Q(base::Cp1252ToUtf8(cp1252)); }
std::string ToStored(const QString& text) { return base::Utf8ToCp1252(text.toStdString()); }

constexpr const char* kNoIncludes = "Kein Datensatz des Dokuments hat eine Include-Datei.";

QStringList Texts(const auto& list) {
  QStringList texts;
  for (const std::string_view t : list) texts << Q(t);
  return texts;
}

QIcon ColourIcon(const edit::ColourSample& sample) {
  QPixmap pixmap(28, 12);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  const QColor colour(static_cast<int>(sample.colour & 0xFF), static_cast<int>((sample.colour >> 8) & 0xFF),
                      static_cast<int>((sample.colour >> 16) & 0xFF));
  const QRect box(0, 0, 27, 11);
  switch (sample.pattern) {
    case edit::ColourSample::Pattern::Solid: painter.fillRect(box, colour); break;
    case edit::ColourSample::Pattern::Hatched: painter.fillRect(box, QBrush(colour, Qt::BDiagPattern)); break;
    case edit::ColourSample::Pattern::Crossed:
      painter.drawLine(box.topLeft(), box.bottomRight());
      painter.drawLine(box.bottomLeft(), box.topRight());
      break;
  }
  painter.setPen(Qt::gray);
  painter.drawRect(box);
  return QIcon(pixmap);
}

// The fields of each group with their labels.
struct FieldGroup {
  const char* title;
  std::vector<std::pair<Field, const char*>> fields;
  int columns;
};

}  // namespace

// ---- option dialogs -----------------------------------------------------------

COptionChoiceDialog::COptionChoiceDialog(AppContext& app, QWidget* parent, const QString& caption,
                                         const QStringList& choices, int preset, const QString& checkText, bool checked)
    : CDialogBase(app, parent, caption), m_group(new QButtonGroup(this)), m_check(new QCheckBox(checkText, this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < choices.size(); ++i) {
    auto* radio = new QRadioButton(choices[i], this);
    m_group->addButton(radio, i);
    layout->addWidget(radio);
    if (i == preset) radio->setChecked(true);
  }
  if (m_group->checkedId() < 0 && !choices.isEmpty()) m_group->button(0)->setChecked(true);
  m_check->setChecked(checked);
  layout->addSpacing(6);
  layout->addWidget(m_check);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
}

int COptionChoiceDialog::choice() const { return m_group->checkedId(); }
bool COptionChoiceDialog::checked() const { return m_check->isChecked(); }

bool AskPlacement(AppContext& app, QWidget* parent, edit::EditorSettings& settings) {
  COptionChoiceDialog dialog(app, parent, Q(edit::texts::kNewCaption), Texts(edit::texts::kPlacements),
                             settings.placement, Q(edit::texts::kAutoNew), settings.autoNew);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.placement = dialog.choice();
  settings.autoNew = dialog.checked();
  return true;
}

bool AskSearchDirection(AppContext& app, QWidget* parent, edit::EditorSettings& settings) {
  COptionChoiceDialog dialog(app, parent, Q(edit::texts::kSearchCaption), Texts(edit::texts::kDirections),
                             settings.searchDirection, Q(edit::texts::kAutoSearch), settings.autoSearch);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.searchDirection = dialog.choice();
  settings.autoSearch = dialog.checked();
  return true;
}

// ---- the editor window --------------------------------------------------------

CDataEditorDialog::CDataEditorDialog(QWidget* parent, CPlanDoc& doc, const doc::SurveyRecord** marked)
    : CDialogBase(doc.app(), parent, Q(edit::texts::kCaption)),
      m_doc(doc),
      m_marked(marked),
      m_editor(std::make_unique<edit::DataEditor>(doc.store(), app().prompter,
                                                  edit::EditorSettings::Load(app().settings), marked)) {
  const bool wide = app().settings.GetInt(edit::texts::kSection, edit::texts::kSmallDisplayValue, 0) != 0;
  BuildFields();
  Arrange(wide);
  // Paging through the records without leaving the keyboard.
  auto* back = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
  connect(back, &QShortcut::activated, this, [this] { Clicked(Button::Previous); });
  auto* forward = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
  connect(forward, &QShortcut::activated, this, [this] { Clicked(Button::Next); });
}

CDataEditorDialog::~CDataEditorDialog() = default;

namespace {

// Selects a field's whole text when the focus comes to it other than by a
// mouse click (the keyboard, or the window coming back), after the form has
// shown its values, so typing replaces the old value.
class SelectOnTab : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, edit, &QLineEdit::selectAll);
      }
    }
    return false;
  }
};

}  // namespace

QLineEdit* CDataEditorDialog::AddEdit(Field f) {
  auto* edit = new QLineEdit(this);
  static SelectOnTab* const selectOnTab = new SelectOnTab(qApp);
  edit->installEventFilter(selectOnTab);
  if (const size_t most = edit::MaxLength(f)) edit->setMaxLength(static_cast<int>(most));
  connect(edit, &QLineEdit::textEdited, this, [this, f](const QString& text) {
    m_editor->Edit(f, ToStored(text));
    Refresh();
  });
  m_fields[f] = edit;
  if (f == Field::FileUrl || f == Field::IncludeFile) {
    // The file buttons follow their field in the tab order.
    auto* choose = new QPushButton(QStringLiteral("..."), this);
    auto* open = new QPushButton(Q("\u00d6ffnen"), this);
    choose->setAutoDefault(false);
    open->setAutoDefault(false);
    choose->setMaximumWidth(30);
    connect(choose, &QPushButton::clicked, this, [this, f] { ChooseFile(f); });
    connect(open, &QPushButton::clicked, this, [this, f] { OpenFile(f); });
    m_fileButtons.push_back(choose);
    m_fileButtons.push_back(open);
  }
  return edit;
}

QComboBox* CDataEditorDialog::AddCombo(Field f) {
  auto* combo = new QComboBox(this);
  connect(combo, &QComboBox::activated, this, [this, f, combo](int index) {
    m_editor->Edit(f, index < 0 ? std::string() : std::to_string(combo->itemData(index).toInt()));
    Refresh();
  });
  m_fields[f] = combo;
  return combo;
}

void CDataEditorDialog::FillCombo(Field f, const std::vector<edit::Choice>& choices) {
  auto* combo = static_cast<QComboBox*>(m_fields.at(f));
  bool same = combo->count() == static_cast<int>(choices.size());
  for (int i = 0; same && i < combo->count(); ++i) same = combo->itemData(i).toInt() == choices[static_cast<size_t>(i)].value;
  if (same) return;
  combo->clear();
  for (const edit::Choice& c : choices) combo->addItem(FromStored(c.text), c.value);
}

void CDataEditorDialog::BuildFields() {
  for (size_t i = 0; i < edit::kFieldCount; ++i) {
    const auto f = static_cast<Field>(i);
    if (edit::KindOf(f) == edit::FieldKind::Choice) {
      AddCombo(f);
    } else {
      AddEdit(f);
    }
  }
  const auto& settings = m_doc.store().settings;
  auto* colour = static_cast<QComboBox*>(m_fields.at(Field::Colour));
  for (const edit::ColourSample& sample : edit::ColourSamples(settings)) {
    colour->addItem(ColourIcon(sample), Q(sample.text), sample.value);
  }
  FillCombo(Field::Instrument, edit::InstrumentChoices(settings));
}

QPushButton* CDataEditorDialog::AddButton(Button b, const char* text) {
  auto* button = new QPushButton(Q(text), this);
  // Enter presses the button that has the focus, else the default button.
  button->setAutoDefault(true);
  connect(button, &QPushButton::clicked, this, [this, b] { Clicked(b); });
  m_buttons[b] = button;
  return button;
}

QWidget* CDataEditorDialog::BuildButtons(bool wide) {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  const std::pair<Button, const char*> buttons[] = {
      {Button::New, "&Neu"},           {Button::Save, "S&peichern"},          {Button::Cancel, "Abbrechen"},
      {Button::Search, "&Suchen"},     {Button::SearchStart, "&Suchstart"},   {Button::SearchOn, "&Weiter"},
      {Button::Delete, "L\u00f6s&chen"}, {Button::Compute, "Be&rechnen"},     {Button::Options, "&Optionen"},
      {Button::Calculator, "&Umrechnen"}, {Button::Mark, "Markieren"},        {Button::Unmark, "Aufheben"},
      {Button::Distance, "&Abstand"},  {Button::Include, "Include"},          {Button::Coordinates, "Koordinaten"},
      {Button::Overview, "\u00dc&bersicht"},
      {Button::LoopEvaluation, "Rin&gschluss"}, {Button::Close, "Be&enden"},
  };
  int n = 0;
  for (const auto& [b, text] : buttons) {
    QPushButton* button = AddButton(b, text);
    if (wide) {
      grid->addWidget(button, n / 9, n % 9);  // two rows
    } else {
      grid->addWidget(button, n, 0);
    }
    ++n;
  }
  if (!wide) grid->setRowStretch(n, 1);
  return box;
}

void CDataEditorDialog::Arrange(bool wide) {
  // Header: number, type, include marker, status.
  m_number = new QLineEdit(this);
  m_type = new QLineEdit(this);
  m_include = new QLineEdit(this);
  m_status = new QLineEdit(this);
  m_count = new QLabel(this);
  for (QLineEdit* e : {m_number, m_type, m_include, m_status}) {
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
  }
  m_number->setMaximumWidth(70);
  auto* header = new QHBoxLayout;
  header->addWidget(new QLabel(Q("Nr."), this));
  header->addWidget(m_number);
  header->addWidget(m_count);
  for (const auto& [label, edit] : {std::pair{"Typ", m_type}, {"Include", m_include}, {"Status", m_status}}) {
    header->addWidget(new QLabel(Q(label), this));
    header->addWidget(edit, 1);
  }

  auto* navigation = new QHBoxLayout;
  struct NavButton {
    Button button;
    const char* text;
    const char* tip;
  };
  const NavButton navButtons[] = {
      {Button::First, "<<", "Erster Datensatz"},
      {Button::CaveBack, "H<", "Zum Anfang der Höhle (zurück)"},
      {Button::PassageBack, "G<", "Zum Anfang des Gangs (zurück)"},
      {Button::PointBack, "P<", "Vorheriger Datensatz mit Messpunkt"},
      {Button::Previous, "<", "Vorheriger Datensatz"},
      {Button::Ref, "Ref", "Erster Datensatz mit diesem Referenzpunkt"},
      {Button::Next, ">", "Nächster Datensatz"},
      {Button::PointForward, ">P", "Nächster Datensatz mit Messpunkt"},
      {Button::PassageForward, ">G", "Zum nächsten Gang"},
      {Button::CaveForward, ">H", "Zur nächsten Höhle"},
      {Button::Last, ">>", "Letzter Datensatz"}};
  for (const auto& [b, text, tip] : navButtons) {
    QPushButton* button = AddButton(b, text);
    button->setToolTip(Q(tip));
    button->setMinimumWidth(34);
    navigation->addWidget(button);
  }
  navigation->addStretch();
  navigation->addWidget(MakeHelpButton());

  const auto group = [this](const FieldGroup& g) {
    auto* box = new QGroupBox(Q(g.title), this);
    auto* grid = new QGridLayout(box);
    int i = 0;
    for (const auto& [f, label] : g.fields) {
      const int row = (i / g.columns) * 2, column = i % g.columns;
      auto* l = new QLabel(Q(label), box);
      l->setBuddy(m_fields.at(f));
      grid->addWidget(l, row, column);
      grid->addWidget(m_fields.at(f), row + 1, column);
      ++i;
    }
    return box;
  };
  m_refGroup = group({"Re&ferenzpunkt", {{Field::RefCave, "H\u00f6hle"}, {Field::RefPassage, "Gang"}, {Field::RefPoint, "Punkt"}}, 3});
  m_stationGroup = group({"&Messpunkt", {{Field::Cave, "H\u00f6hle"}, {Field::Passage, "Gang"}, {Field::Point, "Punkt"}}, 3});
  m_lineGroup = group({"Messlinie",
                       {{Field::TapeStart, "S&tart"}, {Field::TapeEnd, "Ende"}, {Field::Length, "&L\u00e4nge"},
                        {Field::Azimuth, "Azimut"}, {Field::Inclination, "Neigung"}},
                       5});
  m_sectionGroup = group({"&Querschnitt",
                          {{Field::Left, "Links"}, {Field::Right, "Rechts"}, {Field::Up, "Oben"}, {Field::Down, "Unten"},
                           {Field::Instrument, "Ger\u00e4t"}, {Field::Direction, "Richtung"}, {Field::Ring, "Ring"}},
                          4});
  m_refCoordGroup = group({"Referenz&koordinaten", {{Field::RefX, "X"}, {Field::RefY, "Y"}, {Field::RefZ, "Z"}}, 3});
  m_coordGroup = group({"Koordinaten", {{Field::X, "X"}, {Field::Y, "Y"}, {Field::Z, "Z"}}, 3});

  // "&Info": choices in one row, texts one per row, files with their buttons.
  m_infoGroup = new QGroupBox(Q("&Info"), this);
  auto* info = new QGridLayout(m_infoGroup);
  int row = 0, column = 0;
  for (const auto& [f, label] : {std::pair{Field::Colour, "Farbe"}, {Field::Level, "Ebene"}, {Field::Date, "&Datum"},
                                 {Field::Surveyor, "Vermesser"}}) {
    auto* l = new QLabel(Q(label), m_infoGroup);
    l->setBuddy(m_fields.at(f));
    info->addWidget(l, row, column);
    info->addWidget(m_fields.at(f), row + 1, column, 1, column == 3 ? 3 : 1);
    ++column;
  }
  row = 2;
  size_t fileButton = 0;
  for (const auto& [f, label] : {std::pair{Field::Description, "Bezeichnung"}, {Field::Material, "Material"},
                                 {Field::Measures, "Ma\u00dfnahmen"}, {Field::Remark, "Bemerkung"},
                                 {Field::FileUrl, "Datei/URL"}, {Field::IncludeFile, "Include-Datei"}}) {
    auto* l = new QLabel(Q(label), m_infoGroup);
    l->setBuddy(m_fields.at(f));
    info->addWidget(l, row, 0);
    const bool file = f == Field::FileUrl || f == Field::IncludeFile;
    info->addWidget(m_fields.at(f), row, 1, 1, file ? 3 : 5);
    if (file) {
      info->addWidget(m_fileButtons[fileButton++], row, 4);
      info->addWidget(m_fileButtons[fileButton++], row, 5);
    }
    ++row;
  }
  info->setColumnStretch(3, 1);

  QWidget* buttons = BuildButtons(wide);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(header);
  layout->addLayout(navigation);
  if (wide) {
    // Compact: three columns side by side, the buttons in two rows below.
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(m_refGroup), static_cast<QWidget*>(m_stationGroup),
                       static_cast<QWidget*>(m_refCoordGroup)}) {
      left->addWidget(w);
    }
    left->addStretch();
    for (QWidget* w : {static_cast<QWidget*>(m_lineGroup), static_cast<QWidget*>(m_sectionGroup),
                       static_cast<QWidget*>(m_coordGroup)}) {
      middle->addWidget(w);
    }
    middle->addStretch();
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addWidget(m_infoGroup, 1);
    layout->addLayout(columns);
    layout->addWidget(buttons);
  } else {
    auto* body = new QHBoxLayout;
    auto* form = new QVBoxLayout;
    auto* stations = new QHBoxLayout;
    stations->addWidget(m_refGroup);
    stations->addWidget(m_stationGroup);
    form->addLayout(stations);
    form->addWidget(m_lineGroup);
    form->addWidget(m_sectionGroup);
    form->addWidget(m_infoGroup);
    auto* coordinates = new QHBoxLayout;
    coordinates->addWidget(m_refCoordGroup);
    coordinates->addWidget(m_coordGroup);
    form->addLayout(coordinates);
    body->addLayout(form, 1);
    body->addWidget(buttons);
    layout->addLayout(body);
  }
}

void CDataEditorDialog::ShowField(Field f) {
  const std::string& value = m_editor->form()[f];
  QWidget* widget = m_fields.at(f);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    const QString text = FromStored(value);
    if (edit->text() != text) edit->setText(text);
    return;
  }
  auto* combo = static_cast<QComboBox*>(widget);
  const auto number = base::ParseInteger(value);
  const auto& settings = m_doc.store().settings;
  const auto withValue = [&](std::vector<edit::Choice> choices) {
    return number ? edit::WithValue(std::move(choices), static_cast<int>(*number)) : choices;
  };
  if (f == Field::Level) FillCombo(f, withValue(edit::NameChoices(base::TextOf(settings.levelNames))));
  if (f == Field::Surveyor) FillCombo(f, withValue(edit::NameChoices(base::TextOf(settings.surveyorNames))));
  if (f == Field::Instrument) FillCombo(f, withValue(edit::InstrumentChoices(settings)));
  combo->setCurrentIndex(number ? combo->findData(static_cast<int>(*number)) : -1);
}

void CDataEditorDialog::Refresh() {
  const edit::DataEditor& e = *m_editor;
  const bool search = e.mode() == edit::EditorMode::Search;
  m_number->setText(e.number() > 0 ? QString::number(e.number()) : QString());
  m_count->setText(Q("von ") + QString::number(e.count()));
  m_type->setText(Q(e.typeText()));
  m_include->setText(Q(e.includeText()));
  m_status->setText(Q(e.statusText()));
  for (const auto& [f, widget] : m_fields) {
    ShowField(f);
    widget->setEnabled(e.formEnabled());
    if (edit::KindOf(f) == edit::FieldKind::Computed) {
      // Computed coordinates are only typed as search criteria.
      auto* edit = static_cast<QLineEdit*>(widget);
      edit->setReadOnly(!search);
      edit->setFocusPolicy(search ? Qt::StrongFocus : Qt::NoFocus);
    }
  }
  for (QPushButton* b : m_fileButtons) b->setEnabled(e.formEnabled() && !search);
  for (const auto& [b, button] : m_buttons) button->setEnabled(e.Enabled(b));
  m_buttons.at(Button::Distance)->setEnabled(e.Enabled(Button::Distance) && e.current() != nullptr);
  QPushButton* preferred = m_buttons.at(search ? Button::SearchStart : Button::Save);
  preferred->setDefault(preferred->isEnabled());
  m_buttons.at(search ? Button::Save : Button::SearchStart)->setDefault(false);
}

void CDataEditorDialog::MarkField(std::optional<Field> f) {
  if (!f) return;
  QWidget* widget = m_fields.at(*f);
  widget->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
}

void CDataEditorDialog::FocusAfterStart() {
  if (m_editor->mode() == edit::EditorMode::New) {
    // With the stations pre-filled, the measurements come next.
    const int placement = m_editor->settings().placement;
    const bool prefilled = m_editor->count() > 0 && (placement == 2 || placement == 3 || placement == 5);
    MarkField(prefilled ? Field::Length : Field::RefCave);
  } else if (m_editor->mode() == edit::EditorMode::Search) {
    MarkField(Field::RefCave);
  } else {
    m_buttons.at(m_editor->lastNavigation())->setFocus(Qt::OtherFocusReason);
  }
}

void CDataEditorDialog::Clicked(Button b) {
  edit::DataEditor& e = *m_editor;
  if (!e.Enabled(b)) return;
  if (edit::IsNavigation(b)) {
    e.Navigate(b);
    Refresh();
    return;
  }
  switch (b) {
    case Button::New: New(); return;
    case Button::Save: {
      const auto refused = e.Save();
      Refresh();
      if (refused) {
        MarkField(refused);
      } else {
        FocusAfterStart();
      }
      return;
    }
    case Button::Cancel: e.Cancel(); break;
    case Button::Search:
      e.BeginSearch();
      Refresh();
      FocusAfterStart();
      return;
    case Button::SearchStart: SearchStart(); return;
    case Button::SearchOn: e.ContinueSearch(); break;
    case Button::Delete: e.Delete(); break;
    case Button::Compute:
      e.Compute();
      m_doc.setModified();
      m_doc.UpdateAllViews();
      break;
    case Button::Options: {
      edit::EditorSettings settings = e.settings();
      if (AskPlacement(app(), this, settings) && AskSearchDirection(app(), this, settings)) e.settings() = settings;
      break;
    }
    case Button::Calculator: Calculator(); return;
    case Button::Coordinates: Coordinates(); return;
    case Button::Mark: e.Mark(); m_doc.UpdateAllViews(); break;
    case Button::Unmark: e.Unmark(); m_doc.UpdateAllViews(); break;
    case Button::Distance:
      if (const doc::SurveyRecord* current = e.current()) {
        RunStationDistanceDialog(app(), this, m_doc.store(), *current, m_marked ? *m_marked : nullptr);
      }
      break;
    case Button::Include: UpdateIncludes(); break;
    case Button::Overview: Finish(FollowUp::Next::Overview); return;
    case Button::LoopEvaluation: Finish(FollowUp::Next::LoopEvaluation); return;
    case Button::Close: Finish(FollowUp::Next::Nothing); return;
    default: break;
  }
  Refresh();
}

void CDataEditorDialog::New() {
  edit::DataEditor& e = *m_editor;
  if (e.NewNeedsPlacement()) {
    edit::EditorSettings settings = e.settings();
    if (!AskPlacement(app(), this, settings)) return;
    e.StartNew(static_cast<edit::Placement>(settings.placement), settings.autoNew);
  } else {
    e.StartNew();
  }
  Refresh();
  FocusAfterStart();
}

void CDataEditorDialog::SearchStart() {
  edit::EditorSettings settings = m_editor->settings();
  if (!AskSearchDirection(app(), this, settings)) return;
  const auto refused =
      m_editor->StartSearch(static_cast<edit::SearchDirection>(settings.searchDirection), settings.autoSearch);
  Refresh();
  MarkField(refused);
}

void CDataEditorDialog::Calculator() {
  std::optional<Field> refused;
  std::optional<doc::SurveyRecord> record = m_editor->FormRecord(refused);
  if (!record) {
    MarkField(refused);
    return;
  }
  if (RunSurveyCalculator(app(), this, m_doc.store(), *record)) m_editor->TakeCalculation(*record);
  Refresh();
}

void CDataEditorDialog::Coordinates() {
  std::optional<Field> refused;
  std::optional<doc::SurveyRecord> record = m_editor->FormRecord(refused);
  if (!record) {
    MarkField(refused);
    return;
  }
  bool placeOnMap = false;
  if (RunCoordinatesDialog(this, m_doc, *record, &placeOnMap)) m_editor->TakeCoordinates(*record);
  if (placeOnMap) {
    // The coordinates just taken are saved first, so the click moves only
    // what the map shows; a refused record keeps the editor open on it.
    if (m_editor->SaveForPlacement(refused) < 1) {
      Refresh();
      MarkField(refused);
      return;
    }
    // The editor closes as with its close button; the view then waits for
    // the click that places the record's station.
    // The closing pass may number the record anew.
    Finish(FollowUp::Next::Nothing);
    if (result() == QDialog::Accepted && m_editor->number() >= 1) m_doc.RequestPosition(m_editor->number());
    return;
  }
  Refresh();
}

void CDataEditorDialog::UpdateIncludes() {
  doc::SurveyStore& store = m_doc.store();
  // Nothing to read and nothing read before: say so instead of touching
  // the document.
  const bool includes = std::any_of(store.records.begin(), store.records.end(), [](const auto& r) {
    return r->fromInclude != 0 || r->includeFile[0] != '\0';
  });
  if (!includes) {
    app().prompter.Message(kNoIncludes, platform::Icon::Information);
    return;
  }
  store.settings.currentRecordNumber = static_cast<uint32_t>(m_editor->number());
  const calc::ComputeOutcome outcome = imports::UpdateIncludes(store, m_doc.folder(), app().prompter, app().settings);
  // A marked record read from an include file is gone now.
  if (m_marked && *m_marked) {
    const bool kept = std::any_of(store.records.begin(), store.records.end(),
                                  [this](const auto& r) { return r.get() == *m_marked; });
    if (!kept) *m_marked = nullptr;
  }
  m_editor->Reload(outcome.loadRecord ? outcome.recordNumber : static_cast<int>(store.settings.currentRecordNumber));
  m_doc.setModified();
  m_doc.UpdateAllViews();
}

void CDataEditorDialog::ChooseFile(Field f) {
  const std::string stored = m_editor->form()[f];
  const auto folder = edit::ChooserFolder(stored, m_doc.folder());
  if (!folder) return;
  const bool include = f == Field::IncludeFile;
  const QString file = QFileDialog::getOpenFileName(
      this, Q(include ? edit::texts::kChooseInclude : edit::texts::kChooseFile),
      QString::fromStdU16String(folder->u16string()),
      Q(edit::ChooserFilter(include ? edit::texts::kChooseIncludeFilter : edit::texts::kChooseFileFilter)));
  if (file.isEmpty()) return;
  std::string chosen = ToStored(file);
  chosen.resize(std::min(chosen.size(), edit::MaxLength(f)));
  m_editor->Edit(f, chosen);
  Refresh();
}

void CDataEditorDialog::OpenFile(Field f) {
  edit::OpenLink(m_editor->form()[f], m_doc.folder(), app().shell, app().prompter);
}

void CDataEditorDialog::Finish(FollowUp::Next next) {
  const bool closes = m_editor->Close(app().settings);
  m_doc.setModified();
  m_doc.UpdateAllViews();
  if (!closes) {
    Refresh();
    return;
  }
  m_followUp = FollowUp{next, 0};
  accept();
}

void CDataEditorDialog::reject() {
  // Escape leaves a new record or the search form; in browsing it closes.
  if (m_editor->mode() != edit::EditorMode::Browse) {
    m_editor->Cancel();
    Refresh();
    FocusAfterStart();
    return;
  }
  Finish(FollowUp::Next::Nothing);
}

// ---- entry points ---------------------------------------------------------------

namespace {

FollowUp Run(CDataEditorDialog& dialog) {
  dialog.Refresh();
  dialog.exec();
  return dialog.followUp();
}

}  // namespace

FollowUp RunDataEditor(QWidget* parent, CPlanDoc& doc, int startRecord, const doc::SurveyRecord** marked,
                       bool coordinates) {
  if (startRecord <= 0) {
    startRecord = doc.loadRequest() >= 1 ? doc.loadRequest() : static_cast<int>(doc.store().settings.currentRecordNumber);
  }
  doc.clearLoadRequest();
  CDataEditorDialog dialog(parent, doc, marked);
  dialog.editor().Open(startRecord);
  if (coordinates) QTimer::singleShot(0, &dialog, [&dialog] { dialog.Coordinates(); });
  return Run(dialog);
}

FollowUp RunDataEditorAtStation(QWidget* parent, CPlanDoc& doc, const doc::StationId& station,
                                const doc::SurveyRecord** marked) {
  CDataEditorDialog dialog(parent, doc, marked);
  dialog.editor().OpenAtStation(station);
  return Run(dialog);
}

}  // namespace hp::app
