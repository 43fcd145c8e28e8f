// The coordinates dialog's widgets, bound to CoordinatesDialogModel.
#include "app/dialogs/CoordinatesDialog.h"

#include <QClipboard>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <optional>
#include <string>

#include "app/AppContext.h"
#include "app/DialogBase.h"
#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "edit/CoordinatesDialog.h"

namespace hp::app {
namespace {

using Model = edit::CoordinatesDialogModel;

class CCoordinatesDialog final : public CDialogBase {
 public:
  CCoordinatesDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings, doc::SurveyRecord& record)
      : CDialogBase(app, parent, Q(edit::kCoordinatesCaption)), m_settings(settings), m_record(record) {
    m_model.Load(record, settings);
    for (size_t f = 0; f < Model::kFieldCount; ++f) {
      const auto field = static_cast<Model::Field>(f);
      auto* edit = new QLineEdit(this);
      edit->setMaxLength(static_cast<int>(Model::MaxLength(field)));
      edit->installEventFilter(this);
      connect(edit, &QLineEdit::textEdited, this,
              [this, field](const QString& text) { m_model.Edit(field, ToStored(text)); });
      m_edits[f] = edit;
    }
    m_edits[Model::Zone]->setMaximumWidth(60);
    m_edits[Model::Letter]->setMaximumWidth(40);

    auto label = [this](std::string_view text, Model::Field buddy) {
      auto* l = new QLabel(Q(text), this);
      l->setBuddy(m_edits[buddy]);
      return l;
    };
    auto* utm = new QGroupBox(Q(edit::kCoordinatesUtmGroup), this);
    auto* utmGrid = new QGridLayout(utm);
    utmGrid->addWidget(label(edit::kCoordinatesEasting, Model::Easting), 0, 0);
    utmGrid->addWidget(m_edits[Model::Easting], 0, 1, 1, 2);
    utmGrid->addWidget(label(edit::kCoordinatesNorthing, Model::Northing), 1, 0);
    utmGrid->addWidget(m_edits[Model::Northing], 1, 1, 1, 2);
    utmGrid->addWidget(label(edit::kCoordinatesHeight, Model::UtmHeight), 2, 0);
    utmGrid->addWidget(m_edits[Model::UtmHeight], 2, 1, 1, 2);
    utmGrid->addWidget(label(edit::kCoordinatesZone, Model::Zone), 3, 0);
    utmGrid->addWidget(m_edits[Model::Zone], 3, 1);
    utmGrid->addWidget(m_edits[Model::Letter], 3, 2, Qt::AlignLeft);

    auto* geo = new QGroupBox(Q(edit::kCoordinatesGeoGroup), this);
    auto* geoGrid = new QGridLayout(geo);
    geoGrid->addWidget(label(edit::kCoordinatesLatitude, Model::Latitude), 0, 0);
    geoGrid->addWidget(m_edits[Model::Latitude], 0, 1);
    geoGrid->addWidget(label(edit::kCoordinatesLongitude, Model::Longitude), 1, 0);
    geoGrid->addWidget(m_edits[Model::Longitude], 1, 1);
    geoGrid->addWidget(label(edit::kCoordinatesHeight, Model::GeoHeight), 2, 0);
    geoGrid->addWidget(m_edits[Model::GeoHeight], 2, 1);
    geoGrid->setRowStretch(3, 1);

    auto* paste = new QPushButton(Q(edit::kCoordinatesPaste), this);
    connect(paste, &QPushButton::clicked, this, [this] { OnPaste(); });
    auto* place = new QPushButton(Q(edit::kCoordinatesPlaceOnMap), this);
    place->setObjectName(QStringLiteral("placeOnMap"));
    connect(place, &QPushButton::clicked, this, [this] {
      m_placeOnMap = true;
      accept();
      if (result() != QDialog::Accepted) m_placeOnMap = false;
    });

    auto* sides = new QHBoxLayout;
    sides->addWidget(utm);
    sides->addWidget(geo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides);
    auto* extra = new QHBoxLayout;
    extra->addWidget(paste);
    extra->addWidget(place);
    extra->addStretch(1);
    layout->addLayout(extra);
    QWidget* buttons = AddHelpButton(MakeOkCancelButtons());
    layout->addWidget(buttons);

    // The buttons take no focus, so a click never first leaves the field
    // being typed into: OK finishes that field itself, "Abbrechen" drops it,
    // and the paste replaces the position anyway.
    paste->setFocusPolicy(Qt::NoFocus);
    place->setFocusPolicy(Qt::NoFocus);
    for (auto* button : buttons->findChildren<QPushButton*>()) button->setFocusPolicy(Qt::NoFocus);

    ShowFields();
  }

  void accept() override {
    const doc::DialogOutcome outcome = m_model.Apply(m_record, m_settings);
    ShowFields();
    if (outcome.fault) {
      Refuse(*outcome.fault);
      return;
    }
    m_settingsChanged = outcome.modified;
    CDialogBase::accept();
  }

  bool settingsChanged() const { return m_settingsChanged; }
  bool placeOnMap() const { return m_placeOnMap; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut && !m_busy) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // A menu or another window taking the focus is no leaving of the field.
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
        for (size_t f = 0; f < Model::kFieldCount; ++f) {
          if (watched == m_edits[f]) OnLeave(static_cast<Model::Field>(f));
        }
      }
    }
    return CDialogBase::eventFilter(watched, event);
  }

 private:
  void ShowFields() {
    for (size_t f = 0; f < Model::kFieldCount; ++f) {
      const QString text = FromStored(m_model.text(static_cast<Model::Field>(f)));
      if (m_edits[f]->text() != text) m_edits[f]->setText(text);
    }
  }

  void OnLeave(Model::Field field) {
    const doc::DialogOutcome outcome = m_model.Leave(field);
    ShowFields();
    // The focus is moving on; the refusal waits until it has arrived.
    if (outcome.fault) QTimer::singleShot(0, this, [this, fault = *outcome.fault] { Refuse(fault); });
  }

  void OnPaste() {
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    std::optional<std::string> text;
    if (clipboard != nullptr && clipboard->hasText()) text = clipboard->text().toStdString();
    const doc::DialogOutcome outcome = m_model.Paste(text);
    ShowFields();
    if (outcome.fault) Refuse(*outcome.fault);
  }

  // The message, then the refused field gets the focus. Focus changes on
  // the way are no leaving of a field.
  void Refuse(const base::FieldFault<int>& fault) {
    m_busy = true;
    app().prompter.Message(fault.message, platform::Icon::Exclamation);
    if (fault.field >= 0 && fault.field < static_cast<int>(Model::kFieldCount)) {
      QLineEdit* edit = m_edits[static_cast<size_t>(fault.field)];
      edit->setFocus();
      edit->selectAll();
    }
    m_busy = false;
  }

  doc::DocumentSettings& m_settings;
  doc::SurveyRecord& m_record;
  Model m_model;
  std::array<QLineEdit*, Model::kFieldCount> m_edits{};
  bool m_busy = false;
  bool m_settingsChanged = false;
  bool m_placeOnMap = false;
};

}  // namespace

bool RunCoordinatesDialog(QWidget* parent, CPlanDoc& doc, doc::SurveyRecord& record, bool* placeOnMap) {
  CCoordinatesDialog dialog(doc.app(), parent, doc.store().settings, record);
  if (placeOnMap != nullptr) *placeOnMap = false;
  if (dialog.exec() != QDialog::Accepted) return false;
  if (dialog.settingsChanged()) doc.setModified();
  if (placeOnMap != nullptr) *placeOnMap = dialog.placeOnMap();
  return true;
}

}  // namespace hp::app
