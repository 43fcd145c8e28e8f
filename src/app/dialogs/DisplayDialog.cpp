// The "Darstellung" window: moves texts between its widgets and the display
// dialog's state.
#include "app/dialogs/DisplayDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "base/Cp1252.h"
#include "draw/DisplayType.h"

namespace hp::app {

namespace {

std::string Typed(const QLineEdit* edit) { return edit->text().toStdString(); }

QLineEdit* Edit(QWidget* parent, const std::string& text, int maxLength = 0) {
  auto* edit = new QLineEdit(Q(text), parent);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  return edit;
}

// Three fields X, Y, Z in one row.
QWidget* Triple(QWidget* parent, QLineEdit* (&edits)[3], const std::string (&texts)[3]) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  const char* names[3] = {"X", "Y", "Z"};
  for (int i = 0; i < 3; ++i) {
    edits[i] = Edit(row, texts[i]);
    layout->addWidget(new QLabel(QString::fromLatin1(names[i]), row));
    layout->addWidget(edits[i]);
  }
  return row;
}

}  // namespace

CDisplayDialog::CDisplayDialog(AppContext& app, QWidget* parent, const draw::DisplayDialogState& s,
                               draw::DisplayType currentDisplayType)
    : CDialogBase(app, parent, Q(draw::kDisplayDialogCaption)) {
  auto* grid = new QGridLayout;
  int row = 0;
  const auto addRow = [&](const char* label, QWidget* field) {
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
    ++row;
    return caption;
  };

  m_zoom = new QComboBox(this);
  m_zoom->setEditable(true);
  for (std::string_view choice : draw::ZoomChoices()) m_zoom->addItem(Q(choice));
  m_zoom->setEditText(Q(s.zoom));
  addRow("&Zoom", m_zoom);

  m_type = new QComboBox(this);
  for (int p = 0; p < draw::DisplayTypeListSize(currentDisplayType); ++p)
    m_type->addItem(Q(draw::DisplayTypeText(draw::DisplayTypeFromListPosition(p).value_or(currentDisplayType))));
  m_type->setCurrentIndex(s.listPosition < m_type->count() ? s.listPosition : 0);
  addRow("&Darstellung", m_type);

  m_azimuth = Edit(this, s.azimuth);
  m_azimuthCaption = addRow("Azimut", m_azimuth);
  m_inclination = Edit(this, s.inclination);
  m_inclinationCaption = addRow("Neigung", m_inclination);
  m_distance = Edit(this, s.distance);
  m_distanceCaption = addRow("Abstand", m_distance);
  m_centreRow = Triple(this, m_centre, s.centre);
  m_centreCaption = addRow("&Mittelpunkt", m_centreRow);
  m_centreCaption->setBuddy(m_centre[0]);

  m_filter = new QComboBox(this);
  for (std::string_view criterion : draw::FilterCriterionTexts()) m_filter->addItem(Q(criterion));
  m_filter->setCurrentIndex(s.filterCriterion);
  addRow("&Filter", m_filter);
  m_linePattern = Edit(this, base::Cp1252ToUtf8(s.linePattern), static_cast<int>(draw::kMaxFilterPatternLength));
  addRow("M&esslinien", m_linePattern);
  m_labelPattern = Edit(this, base::Cp1252ToUtf8(s.labelPattern), static_cast<int>(draw::kMaxFilterPatternLength));
  m_labelPatternCaption = addRow("Be&textung", m_labelPattern);
  m_adaptOverview = new QCheckBox(QStringLiteral("Übersichtsbereich &anpassen"), this);
  m_adaptOverview->setChecked(s.adaptOverview);
  grid->addWidget(m_adaptOverview, row++, 1);

  auto* origin = new QWidget(this);
  auto* originLayout = new QHBoxLayout(origin);
  originLayout->setContentsMargins(0, 0, 0, 0);
  m_originCave = Edit(origin, s.originCave);
  m_originPassage = Edit(origin, s.originPassage);
  m_originPoint = Edit(origin, base::Cp1252ToUtf8(s.originPoint), static_cast<int>(draw::kMaxOriginPointLength));
  const std::pair<const char*, QLineEdit*> parts[] = {
      {"Höhle", m_originCave}, {"Gang", m_originPassage}, {"Punkt", m_originPoint}};
  for (const auto& [label, edit] : parts) {
    originLayout->addWidget(new QLabel(QString::fromUtf8(label), origin));
    originLayout->addWidget(edit);
  }
  addRow("&Ursprungspunkt", origin)->setBuddy(m_originCave);
  addRow("Ursprungs&koordinaten", Triple(this, m_origin, s.origin))->setBuddy(m_origin[0]);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));

  connect(m_type, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabling(); });
  UpdateEnabling();
}

void CDisplayDialog::UpdateEnabling() {
  const draw::DisplayFieldEnabling on = draw::EnablingForListPosition(m_type->currentIndex());
  const auto enable = [](QWidget* field, QLabel* caption, bool enabled) {
    field->setEnabled(enabled);
    caption->setEnabled(enabled);
  };
  enable(m_azimuth, m_azimuthCaption, on.azimuth);
  enable(m_inclination, m_inclinationCaption, on.inclination);
  enable(m_distance, m_distanceCaption, on.distance);
  enable(m_centreRow, m_centreCaption, on.centre);
  enable(m_labelPattern, m_labelPatternCaption, on.labelPattern);
  m_adaptOverview->setEnabled(on.adaptOverview);
}

draw::DisplayDialogState CDisplayDialog::state() const {
  draw::DisplayDialogState s;
  s.zoom = m_zoom->currentText().toStdString();
  s.listPosition = m_type->currentIndex();
  s.azimuth = Typed(m_azimuth);
  s.inclination = Typed(m_inclination);
  s.distance = Typed(m_distance);
  for (int i = 0; i < 3; ++i) {
    s.centre[i] = Typed(m_centre[i]);
    s.origin[i] = Typed(m_origin[i]);
  }
  s.filterCriterion = m_filter->currentIndex();
  s.linePattern = ToStored(m_linePattern->text());
  s.labelPattern = ToStored(m_labelPattern->text());
  s.adaptOverview = m_adaptOverview->isChecked();
  s.originCave = Typed(m_originCave);
  s.originPassage = Typed(m_originPassage);
  s.originPoint = ToStored(m_originPoint->text());
  return s;
}

void CDisplayDialog::FocusField(draw::DisplayField field) {
  using F = draw::DisplayField;
  QWidget* target = nullptr;
  switch (field) {
    case F::Zoom: target = m_zoom; break;
    case F::Azimuth: target = m_azimuth; break;
    case F::Inclination: target = m_inclination; break;
    case F::Distance: target = m_distance; break;
    case F::CentreX: target = m_centre[0]; break;
    case F::CentreY: target = m_centre[1]; break;
    case F::CentreZ: target = m_centre[2]; break;
    case F::LinePattern: target = m_linePattern; break;
    case F::LabelPattern: target = m_labelPattern; break;
    case F::OriginCave: target = m_originCave; break;
    case F::OriginPassage: target = m_originPassage; break;
    case F::OriginPoint: target = m_originPoint; break;
    case F::OriginX: target = m_origin[0]; break;
    case F::OriginY: target = m_origin[1]; break;
    case F::OriginZ: target = m_origin[2]; break;
  }
  if (target == nullptr) return;
  target->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->selectAll();
}

void CDisplayDialog::accept() {
  if (const auto problem = draw::ValidateDisplayDialog(state())) {
    app().prompter.Message(problem->message, platform::Icon::Exclamation);
    FocusField(problem->field);
    return;
  }
  CDialogBase::accept();
}

bool RunDisplayDialog(QWidget* parent, CPlanDoc& doc, draw::ViewTransform& view) {
  doc::Worksheet& worksheet = doc.worksheet();
  CDisplayDialog dialog(doc.app(), parent, draw::LoadDisplayDialog(worksheet), worksheet.displayType());
  if (dialog.exec() != QDialog::Accepted) return false;
  if (const auto problem = draw::ApplyDisplayDialog(dialog.state(), worksheet, view)) {
    doc.app().prompter.Message(problem->message, platform::Icon::Exclamation);
    return false;
  }
  doc.setModified();
  doc.UpdateAllViews();
  return true;
}

}  // namespace hp::app
