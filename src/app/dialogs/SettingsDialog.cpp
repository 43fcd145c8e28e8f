// The shared base of the document settings dialogs and their stored-text
// fields.
#include "app/dialogs/SettingsDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/PlanDoc.h"
#include "app/QtText.h"

namespace hp::app {
namespace {

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

}  // namespace

void CSettingsDialog::accept() {
  m_outcome = Store();
  if (m_outcome.fault) {
    ShowRefusal(app().prompter, *m_outcome.fault, FieldWidget(m_outcome.fault->field));
    return;
  }
  CDialogBase::accept();
}

bool RunSettingsDialog(CSettingsDialog& dialog, CPlanDoc& doc) {
  if (dialog.exec() != QDialog::Accepted) return false;
  Finish(doc, dialog.outcome());
  return true;
}

QPlainTextEdit* StoredLinesEdit(QWidget* parent, std::string_view stored, size_t maxLength) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setPlainText(FromStored(doc::ToEditLines(stored)));
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  LimitLines(edit, maxLength);
  return edit;
}

QLineEdit* StoredLineEdit(QWidget* parent, const std::string& stored, size_t maxLength) {
  auto* edit = new QLineEdit(FromStored(stored), parent);
  edit->setMaxLength(static_cast<int>(maxLength));
  return edit;
}

std::string StoredLines(const QPlainTextEdit* edit) { return doc::ToStoredLines(ToStored(edit->toPlainText())); }

}  // namespace hp::app
