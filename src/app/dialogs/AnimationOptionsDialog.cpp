// The animation options dialog.
#include "app/dialogs/AnimationOptionsDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "draw/Animation.h"

namespace hp::app {

CAnimationOptionsDialog::CAnimationOptionsDialog(AppContext& app, QWidget* parent)
    : CDialogBase(app, parent, QStringLiteral("Optionen Animation")) {
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  m_pause = new QLineEdit(QString::number(app.settings.GetInt("Settings", "Animation", draw::kDefaultAnimationPause)),
                          this);
  form->addRow(QStringLiteral("&Pause nach jedem Bild (ms):"), m_pause);
  layout->addLayout(form);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
}

void CAnimationOptionsDialog::accept() {
  const draw::PauseEntry entry = draw::ParseAnimationPause(m_pause->text().toStdString());
  if (!entry.value) {
    app().prompter.Message(entry.message, platform::Icon::Exclamation);
    m_pause->setFocus();
    m_pause->selectAll();
    return;
  }
  app().settings.SetInt("Settings", "Animation", *entry.value);
  CDialogBase::accept();
}

bool RunAnimationOptionsDialog(AppContext& app, QWidget* parent) {
  CAnimationOptionsDialog dialog(app, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace hp::app
