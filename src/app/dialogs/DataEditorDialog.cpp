// The survey data editor window: its commands (the buttons, the
// neighbouring dialogs, closing) over edit/DataEditor.h, and how it opens.
#include "app/dialogs/DataEditorDialog.h"

#include <QFileDialog>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/QtText.h"
#include "app/dialogs/CalculatorDialog.h"
#include "app/dialogs/CoordinatesDialog.h"
#include "doc/DocumentChanges.h"
#include "edit/DataEditorLinks.h"
#include "edit/DataEditorTexts.h"
#include "import/DocumentImport.h"

namespace hp::app {
namespace {

using edit::Button;
using edit::Field;

constexpr const char* kNoIncludes = "Kein Datensatz des Dokuments hat eine Include-Datei.";

}  // namespace

CDataEditorDialog::CDataEditorDialog(QWidget* parent, CPlanDoc& doc, const doc::SurveyRecord** marked)
    : CDialogBase(doc.app(), parent, Q(edit::texts::kCaption)), m_doc(doc), m_marked(marked),
      m_editor(std::make_unique<edit::DataEditor>(doc.store(), app().prompter,
                                                  edit::EditorSettings::Load(app().settings), marked)) {
  const bool wide = app().settings.GetInt(edit::texts::kSection, edit::texts::kSmallDisplayValue, 0) != 0;
  BuildFields();
  Arrange(wide);
  // Paging through the records without leaving the keyboard.
  m_editor->SetHistory(&doc.history());
  auto* back = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
  connect(back, &QShortcut::activated, this, [this] { Clicked(Button::Previous); });
  auto* forward = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
  connect(forward, &QShortcut::activated, this, [this] { Clicked(Button::Next); });
}

CDataEditorDialog::~CDataEditorDialog() = default;

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
    case Button::Mark:
      e.Mark();
      m_doc.UpdateAllViews();
      break;
    case Button::Unmark:
      e.Unmark();
      m_doc.UpdateAllViews();
      break;
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
  const bool includes = std::any_of(store.records.begin(), store.records.end(),
                                    [](const auto& r) { return r->fromInclude != 0 || r->includeFile[0] != '\0'; });
  if (!includes) {
    app().prompter.Message(kNoIncludes, platform::Icon::Information);
    return;
  }
  store.settings.currentRecordNumber = static_cast<uint32_t>(m_editor->number());
  calc::ComputeOutcome outcome;
  m_doc.Recorded(doc::steps::kUpdateIncludes, doc::DocumentCapture::kRecords,
                 [&] { outcome = imports::UpdateIncludes(store, m_doc.folder(), app().prompter, app().settings); });
  // A marked record read from an include file is gone now.
  if (m_marked && *m_marked) {
    const bool kept =
        std::any_of(store.records.begin(), store.records.end(), [this](const auto& r) { return r.get() == *m_marked; });
    if (!kept) *m_marked = nullptr;
  }
  m_editor->Reload(outcome.loadRecord ? outcome.recordNumber : static_cast<int>(store.settings.currentRecordNumber));
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
  if (m_editor->tookSteps()) {
    m_doc.HistoryChanged();
  } else {
    m_doc.setModified();
  }
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
    startRecord =
        doc.loadRequest() >= 1 ? doc.loadRequest() : static_cast<int>(doc.store().settings.currentRecordNumber);
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
