// The worksheet dialogs and commands.
#include "app/dialogs/WorksheetDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <QVariant>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "doc/WorksheetCommands.h"

namespace hp::app {
namespace {

using doc::WorksheetCommand;

QStringList ToQStringList(const std::vector<std::string>& texts) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(texts.size()));
  for (const auto& text : texts) list.append(QString::fromStdString(text));
  return list;
}

bool HasName(WorksheetDialogKind kind) {
  return kind == WorksheetDialogKind::New || kind == WorksheetDialogKind::Copy || kind == WorksheetDialogKind::Rename;
}

QString ListLabel(WorksheetDialogKind kind) {
  switch (kind) {
    case WorksheetDialogKind::Select: return QStringLiteral("&Arbeitsblatt");
    case WorksheetDialogKind::New: return QStringLiteral("&einfügen vor Arbeitsblatt");
    case WorksheetDialogKind::Copy: return QStringLiteral("&kopieren vor Arbeitsblatt");
    case WorksheetDialogKind::Move: return QStringLiteral("&verschieben vor Arbeitsblatt");
    case WorksheetDialogKind::Rename: break;
  }
  return {};
}

bool Enabled(const CPlanDoc& doc, WorksheetCommand command) {
  return doc::IsWorksheetCommandEnabled(command, doc.store());
}

// Shows the dialog of `kind` for the document; false on Cancel.
bool Ask(QWidget* parent, const CPlanDoc& doc, WorksheetDialogKind kind, WorksheetDialogOptions& result) {
  CWorksheetDialog dialog(doc.app(), WorksheetDialogOptionsFor(kind, doc.store()), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  result = dialog.options();
  return true;
}

bool Finish(CPlanDoc& doc, bool changed) {
  if (changed) doc.WorksheetsChanged();
  return changed;
}

}  // namespace

QString WorksheetDialogCaption(WorksheetDialogKind kind) {
  switch (kind) {
    case WorksheetDialogKind::Select: return QStringLiteral("Arbeitsblatt auswählen");
    case WorksheetDialogKind::New: return QStringLiteral("Arbeitsblatt neuanlegen");
    case WorksheetDialogKind::Copy: return QStringLiteral("Arbeitsblatt kopieren");
    case WorksheetDialogKind::Move: return QStringLiteral("Arbeitsblatt verschieben");
    case WorksheetDialogKind::Rename: return QStringLiteral("Arbeitsblatt umbenennen");
  }
  return {};
}

WorksheetDialogOptions WorksheetDialogOptionsFor(WorksheetDialogKind kind, const doc::SurveyStore& store) {
  WorksheetDialogOptions options;
  options.kind = kind;
  switch (kind) {
    case WorksheetDialogKind::Select:
      options.entries = ToQStringList(doc::WorksheetNames(store));
      options.selection = doc::CurrentWorksheetPosition(store);
      break;
    case WorksheetDialogKind::New:
      options.name = QString::fromStdString(std::string(doc::kNewWorksheetName));
      options.entries = ToQStringList(doc::WorksheetNamesWithEnd(store));
      options.selection = doc::DefaultNewPosition(store);
      break;
    case WorksheetDialogKind::Copy:
      options.name = QString::fromStdString(doc::CopyNameProposal(store));
      options.entries = ToQStringList(doc::WorksheetNamesWithEnd(store));
      options.selection = doc::DefaultCopyPosition(store);
      break;
    case WorksheetDialogKind::Move:
      options.entries = ToQStringList(doc::WorksheetNamesWithEnd(store));
      options.selection = doc::DefaultMovePosition(store);
      break;
    case WorksheetDialogKind::Rename: options.name = QString::fromStdString(doc::CurrentWorksheetName(store)); break;
  }
  return options;
}

CWorksheetDialog::CWorksheetDialog(AppContext& app, const WorksheetDialogOptions& options, QWidget* parent)
    : CDialogBase(app, parent, WorksheetDialogCaption(options.kind)), m_options(options) {
  setMinimumWidth(320);  // room for a long sheet designation
  auto* layout = new QVBoxLayout(this);
  if (HasName(options.kind)) {
    auto* label = new QLabel(QStringLiteral("&Name"), this);
    m_name = new QLineEdit(options.name, this);
    m_name->setMaxLength(static_cast<int>(doc::kSheetNameLength));
    m_name->selectAll();
    label->setBuddy(m_name);
    layout->addWidget(label);
    layout->addWidget(m_name);
  }
  if (options.kind != WorksheetDialogKind::Rename) {
    auto* label = new QLabel(ListLabel(options.kind), this);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->addItems(options.entries);
    if (options.selection >= 0 && options.selection < m_list->count()) {
      m_list->setCurrentRow(options.selection);
      m_list->scrollToItem(m_list->currentItem());
    }
    label->setBuddy(m_list);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(m_list);
  }
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  if (m_name != nullptr) m_name->setFocus();
  else if (m_list != nullptr) m_list->setFocus();
}

void CWorksheetDialog::accept() {
  if (m_name != nullptr && !doc::IsSheetNameAccepted(m_name->text().toStdString())) {
    app().prompter.Message(doc::worksheet_messages::kEnterSheetName, platform::Icon::Exclamation);
    m_name->setFocus();
    m_name->selectAll();
    return;
  }
  CDialogBase::accept();
}

WorksheetDialogOptions CWorksheetDialog::options() const {
  WorksheetDialogOptions result = m_options;
  if (m_name != nullptr) result.name = m_name->text();
  if (m_list != nullptr && !m_list->selectedItems().isEmpty()) result.selection = m_list->currentRow();
  return result;
}

bool RunSelectWorksheet(QWidget* parent, CPlanDoc& doc) {
  if (!Enabled(doc, WorksheetCommand::Select)) return false;
  WorksheetDialogOptions chosen;
  if (!Ask(parent, doc, WorksheetDialogKind::Select, chosen)) return false;
  return Finish(doc, doc::SelectWorksheetAt(doc.store(), chosen.selection));
}

bool PreviousWorksheet(CPlanDoc& doc) {
  if (!Enabled(doc, WorksheetCommand::Previous)) return false;
  return Finish(doc, doc::SelectPreviousWorksheet(doc.store()));
}

bool NextWorksheet(CPlanDoc& doc) {
  if (!Enabled(doc, WorksheetCommand::Next)) return false;
  return Finish(doc, doc::SelectNextWorksheet(doc.store()));
}

bool RunNewWorksheet(QWidget* parent, CPlanDoc& doc) {
  WorksheetDialogOptions chosen;
  if (!Ask(parent, doc, WorksheetDialogKind::New, chosen)) return false;
  bool resetFlag = false;
  const bool changed = doc::NewWorksheet(doc.store(), chosen.name.toStdString(), chosen.selection, resetFlag);
  if (resetFlag) doc.resetFlag() = true;
  return Finish(doc, changed);
}

bool RunCopyWorksheet(QWidget* parent, CPlanDoc& doc) {
  WorksheetDialogOptions chosen;
  if (!Ask(parent, doc, WorksheetDialogKind::Copy, chosen)) return false;
  return Finish(doc, doc::CopyWorksheet(doc.store(), chosen.name.toStdString(), chosen.selection));
}

bool RunMoveWorksheet(QWidget* parent, CPlanDoc& doc) {
  if (!Enabled(doc, WorksheetCommand::Move)) return false;
  WorksheetDialogOptions chosen;
  if (!Ask(parent, doc, WorksheetDialogKind::Move, chosen)) return false;
  return Finish(doc, doc::MoveWorksheet(doc.store(), chosen.selection));
}

bool RunRenameWorksheet(QWidget* parent, CPlanDoc& doc) {
  WorksheetDialogOptions chosen;
  if (!Ask(parent, doc, WorksheetDialogKind::Rename, chosen)) return false;
  return Finish(doc, doc::RenameWorksheet(doc.store(), chosen.name.toStdString()));
}

bool RunDeleteWorksheet(CPlanDoc& doc) {
  return Finish(doc, doc::AskAndDeleteWorksheet(doc.store(), doc.app().prompter));
}

bool RunRestoreWorksheet(CPlanDoc& doc) {
  const std::string nameBefore = doc::CurrentWorksheetName(doc.store());
  if (!doc::AskAndRestoreWorksheet(doc.store(), doc.backup(), doc.app().prompter)) return false;
  if (doc::CurrentWorksheetName(doc.store()) != nameBefore) {
    // The restored name must show in the main window's worksheet list too.
    doc.WorksheetsChanged();
  } else {
    doc.setModified();
    doc.UpdateAllViews();
  }
  return true;
}

bool RunResetWorksheet(CPlanDoc& doc) {
  bool resetFlag = false;
  if (!doc::AskAndResetWorksheet(doc.store(), doc.app().prompter, resetFlag)) return false;
  if (resetFlag) doc.resetFlag() = true;
  doc.setModified();
  doc.UpdateAllViews();
  return true;
}

}  // namespace hp::app
