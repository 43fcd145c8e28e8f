// A dialog that offers one choice among a few (radio buttons), such as the
// import's "Datenimport Hollowplan-Format".
#pragma once

#include <QStringList>

#include "app/DialogBase.h"

class QButtonGroup;

namespace hp::app {

class CChoiceDialog : public CDialogBase {
  Q_OBJECT

 public:
  CChoiceDialog(AppContext& app, QWidget* parent, const QString& caption, const QStringList& choices, int preset);
  int choice() const;

 private:
  QButtonGroup* m_group = nullptr;
};

// Shows the dialog; the chosen position, or -1 on Cancel.
int AskChoice(AppContext& app, QWidget* parent, const QString& caption, const QStringList& choices, int preset);

}  // namespace hp::app
