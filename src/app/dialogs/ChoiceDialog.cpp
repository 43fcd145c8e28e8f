// One choice among a few.
#include "app/dialogs/ChoiceDialog.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace hp::app {
namespace {
constexpr int kTitleBarButtons = 160;  // pixels for the icon and the close, minimise and maximise buttons
}  // namespace

CChoiceDialog::CChoiceDialog(AppContext& app, QWidget* parent, const QString& caption, const QStringList& choices,
                             int preset)
    : CDialogBase(app, parent, caption), m_group(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < choices.size(); ++i) {
    auto* button = new QRadioButton(choices[i], this);
    m_group->addButton(button, i);
    layout->addWidget(button);
    if (i == preset) button->setChecked(true);
  }
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  // The whole caption fits in the title bar beside the frame's buttons.
  setMinimumWidth(std::max(minimumSizeHint().width(), fontMetrics().horizontalAdvance(caption) + kTitleBarButtons));
}

int CChoiceDialog::choice() const { return m_group->checkedId(); }

int AskChoice(AppContext& app, QWidget* parent, const QString& caption, const QStringList& choices, int preset) {
  CChoiceDialog dialog(app, parent, caption, choices, preset);
  if (dialog.exec() != QDialog::Accepted) return -1;
  return dialog.choice();
}

}  // namespace hp::app
