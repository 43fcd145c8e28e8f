// The data editor's form: its fields, buttons and groups, how they are laid
// out, and how they show the editor model's form and take what is typed.
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "app/dialogs/DataEditorDialog.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "edit/DataEditorTexts.h"

namespace hp::app {
namespace {

using edit::Button;
using edit::Field;

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
  for (int i = 0; same && i < combo->count(); ++i)
    same = combo->itemData(i).toInt() == choices[static_cast<size_t>(i)].value;
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
  // clang-format off
  const std::pair<Button, const char*> buttons[] = {
      {Button::New, "&Neu"},           {Button::Save, "S&peichern"},          {Button::Cancel, "Abbrechen"},
      {Button::Search, "&Suchen"},     {Button::SearchStart, "&Suchstart"},   {Button::SearchOn, "&Weiter"},
      {Button::Delete, "L\u00f6s&chen"}, {Button::Compute, "Be&rechnen"},     {Button::Options, "&Optionen"},
      {Button::Calculator, "&Umrechnen"}, {Button::Mark, "Markieren"},        {Button::Unmark, "Aufheben"},
      {Button::Distance, "&Abstand"},  {Button::Include, "Include"},          {Button::Coordinates, "Koordinaten"},
      {Button::Overview, "\u00dc&bersicht"},
      {Button::LoopEvaluation, "Rin&gschluss"}, {Button::Close, "Be&enden"},
  };
  // clang-format on
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
  const NavButton navButtons[] = {{Button::First, "<<", "Erster Datensatz"},
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
  m_refGroup = group(
      {"Re&ferenzpunkt", {{Field::RefCave, "H\u00f6hle"}, {Field::RefPassage, "Gang"}, {Field::RefPoint, "Punkt"}}, 3});
  m_stationGroup =
      group({"&Messpunkt", {{Field::Cave, "H\u00f6hle"}, {Field::Passage, "Gang"}, {Field::Point, "Punkt"}}, 3});
  m_lineGroup = group({"Messlinie",
                       {{Field::TapeStart, "S&tart"},
                        {Field::TapeEnd, "Ende"},
                        {Field::Length, "&L\u00e4nge"},
                        {Field::Azimuth, "Azimut"},
                        {Field::Inclination, "Neigung"}},
                       5});
  m_sectionGroup = group({"&Querschnitt",
                          {{Field::Left, "Links"},
                           {Field::Right, "Rechts"},
                           {Field::Up, "Oben"},
                           {Field::Down, "Unten"},
                           {Field::Instrument, "Ger\u00e4t"},
                           {Field::Direction, "Richtung"},
                           {Field::Ring, "Ring"}},
                          4});
  m_refCoordGroup = group({"Referenz&koordinaten", {{Field::RefX, "X"}, {Field::RefY, "Y"}, {Field::RefZ, "Z"}}, 3});
  m_coordGroup = group({"Koordinaten", {{Field::X, "X"}, {Field::Y, "Y"}, {Field::Z, "Z"}}, 3});

  // "&Info": choices in one row, texts one per row, files with their buttons.
  m_infoGroup = new QGroupBox(Q("&Info"), this);
  auto* info = new QGridLayout(m_infoGroup);
  int row = 0, column = 0;
  for (const auto& [f, label] : {std::pair{Field::Colour, "Farbe"},
                                 {Field::Level, "Ebene"},
                                 {Field::Date, "&Datum"},
                                 {Field::Surveyor, "Vermesser"}}) {
    auto* l = new QLabel(Q(label), m_infoGroup);
    l->setBuddy(m_fields.at(f));
    info->addWidget(l, row, column);
    info->addWidget(m_fields.at(f), row + 1, column, 1, column == 3 ? 3 : 1);
    ++column;
  }
  row = 2;
  size_t fileButton = 0;
  for (const auto& [f, label] : {std::pair{Field::Description, "Bezeichnung"},
                                 {Field::Material, "Material"},
                                 {Field::Measures, "Ma\u00dfnahmen"},
                                 {Field::Remark, "Bemerkung"},
                                 {Field::FileUrl, "Datei/URL"},
                                 {Field::IncludeFile, "Include-Datei"}}) {
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

}  // namespace hp::app
