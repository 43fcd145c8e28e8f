// "Dokument", "Optionen Daten", "Ebenen" and "Vermesser": widgets bound to
// the dialog logic of doc/DocumentDialogs.h.
#include "app/dialogs/DocumentDialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "app/dialogs/SettingsDialog.h"
#include "doc/DocumentDialogs.h"

namespace hp::app {
namespace {

// ---- "Dokument" -----------------------------------------------------------

class CDocumentDialog final : public CSettingsDialog {
 public:
  CDocumentDialog(AppContext& app, QWidget* parent, doc::DocumentSettings& settings)
      : CSettingsDialog(app, parent, QStringLiteral("Dokument")), m_settings(settings) {
    using M = doc::DocumentDialogModel;
    m_model.Load(settings);
    auto edit = [this](M::Field field, const std::string& text) {
      QLineEdit* e = StoredLineEdit(this, text, M::MaxLength(field));
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
    m_description = StoredLinesEdit(this, m_model.description, M::MaxLength(M::Description));
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
    for (int i = 0; i <= doc::kNetworkAdjustmentChoice; ++i) {
      auto* radio = new QRadioButton(Q(doc::kLoopAdjustmentChoices[i]), adjustment);
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
    m_text = StoredLinesEdit(this, m_model.text, doc::kMaxNamesLength);
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

}  // namespace

bool RunDocumentDialog(QWidget* parent, CPlanDoc& doc) {
  CDocumentDialog dialog(doc.app(), parent, doc.store().settings);
  return RunSettingsDialog(dialog, doc);
}

bool RunDataOptionsDialog(QWidget* parent, CPlanDoc& doc) {
  CDataOptionsDialog dialog(doc.app(), parent, doc.store().settings);
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
