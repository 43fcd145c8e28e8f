// What the document settings dialogs share: a dialog whose OK asks its
// logic (doc/DocumentDialogs.h, calc/InstrumentDialog.h) to store the values
// and stays open on a refused entry, the command around it, and the fields
// that edit the document's stored (Windows-1252) texts.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "app/DialogBase.h"
#include "doc/DocumentDialogs.h"

class QLineEdit;
class QPlainTextEdit;

namespace hp::app {

class CPlanDoc;

// The common shape: a dialog whose OK asks its logic to store the values
// and stays open when an entry is refused.
class CSettingsDialog : public CDialogBase {
 public:
  CSettingsDialog(AppContext& app, QWidget* parent, const QString& caption) : CDialogBase(app, parent, caption) {}
  const doc::DialogOutcome& outcome() const { return m_outcome; }

  // A refused entry shows its message and gives its field the focus.
  void accept() override;

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

// The whole command: the dialog, then on OK the document is marked modified
// and computed or redrawn as the outcome asks. True when it was confirmed.
bool RunSettingsDialog(CSettingsDialog& dialog, CPlanDoc& doc);

// A one-line field for a stored text of at most `maxLength` characters.
QLineEdit* StoredLineEdit(QWidget* parent, const std::string& stored, size_t maxLength);
// A multi-line field for stored lines that takes no more than `maxLength`
// stored characters (a line break counts two), and the lines it holds as
// they are stored.
QPlainTextEdit* StoredLinesEdit(QWidget* parent, std::string_view stored, size_t maxLength);
std::string StoredLines(const QPlainTextEdit* edit);

}  // namespace hp::app
