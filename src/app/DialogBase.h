// The base of every dialog of the program. It remembers where the user left
// the dialog (section "Dialoge", the caption followed by " X" and " Y", the
// top-left corner of its client area),
// opens it there again held inside the screen's work area, or centred on its
// owner the first time, and opens the dialog's help page on F1 and from its
// "Hilfe" button.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPoint>
#include <QString>
#include <filesystem>
#include <optional>

#include "app/AppContext.h"

class QPushButton;

namespace hp::app {

class CDialogBase : public QDialog {
  Q_OBJECT

 public:
  // The caption is the window title; it names the remembered position and,
  // unless a help topic is set, the help page.
  CDialogBase(AppContext& app, QWidget* parent, const QString& caption);

  void setHelpTopic(const QString& topic) { m_helpTopic = topic; }
  QString helpTopic() const { return m_helpTopic.isEmpty() ? windowTitle() : m_helpTopic; }

  // OK and Cancel buttons in German with the usual roles, connected to
  // accept() and reject(); returned for placing in a layout.
  QDialogButtonBox* MakeOkCancelButtons();

  // The "Hilfe" button, which opens the page F1 opens: `page` when given
  // (it then becomes the help topic), else the caption's page. Make it for a
  // row of buttons of the dialog's own, or add it to a button box (which is
  // returned for placing in a layout).
  QPushButton* MakeHelpButton(const QString& page = {});
  QDialogButtonBox* AddHelpButton(QDialogButtonBox* buttons, const QString& page = {});

  void done(int result) override;

 protected:
  AppContext& app() const { return m_app; }
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void PlaceOnOpening();
  void RememberPosition();

  AppContext& m_app;
  QString m_helpTopic;
  bool m_placed = false;
  QPoint m_openedAt;
};

// The page of a help topic: "<program folder>/help/html/<topic>.htm", or the
// guide's start page "index.htm" for a topic without a page of its own;
// nothing when the guide is not there.
std::optional<std::filesystem::path> HelpPage(const std::filesystem::path& programFolder, const QString& topic);

// Opens HelpPage(topic) with the desktop's opener; false without a page.
bool OpenHelpTopic(const AppContext& app, const QString& topic);

// Adds the "Hilfe" button to the buttons of a dialog the program does not
// build itself, such as a file dialog: it opens HelpPage(topic).
void AddHelpButton(const AppContext& app, QDialogButtonBox* buttons, const QString& topic);

}  // namespace hp::app
