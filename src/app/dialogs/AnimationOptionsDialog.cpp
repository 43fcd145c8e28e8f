// The animation options dialog.
#include "app/dialogs/AnimationOptionsDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "draw/animation/Animation.h"

namespace hp::app {

CAnimationOptionsDialog::CAnimationOptionsDialog(AppContext& app, QWidget* parent)
    : CDialogBase(app, parent, QStringLiteral("Optionen Animation")) {
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  m_pause =
      new QLineEdit(QString::number(app.settings.GetInt("Settings", "Animation", draw::kDefaultAnimationPause)), this);
  form->addRow(QStringLiteral("&Pause nach jedem Bild (ms):"), m_pause);
  layout->addLayout(form);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
}

void CAnimationOptionsDialog::accept() {
  const auto entry = draw::ParseAnimationPause(m_pause->text().toStdString());
  if (const auto* message = std::get_if<std::string>(&entry)) {
    app().prompter.Message(*message, platform::Icon::Exclamation);
    m_pause->setFocus();
    m_pause->selectAll();
    return;
  }
  app().settings.SetInt("Settings", "Animation", std::get<int>(entry));
  CDialogBase::accept();
}

bool RunAnimationOptionsDialog(AppContext& app, QWidget* parent) {
  CAnimationOptionsDialog dialog(app, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace hp::app
