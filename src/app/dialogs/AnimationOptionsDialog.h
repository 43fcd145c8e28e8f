// "Optionen Animation": the pause after each picture of a flight or spin.
#pragma once

#include "app/DialogBase.h"

class QLineEdit;

namespace hp::app {

class CAnimationOptionsDialog : public CDialogBase {
  Q_OBJECT

 public:
  // Shows the pause stored in "Animation" (section "Settings").
  CAnimationOptionsDialog(AppContext& app, QWidget* parent);
  QLineEdit* pauseField() const { return m_pause; }

  // Keeps the dialog open with the field selected while the pause is no
  // whole number from 0 to 1000; stores it otherwise.
  void accept() override;

 private:
  QLineEdit* m_pause = nullptr;
};

// Shows the dialog; true when OK stored a new pause.
bool RunAnimationOptionsDialog(AppContext& app, QWidget* parent);

}  // namespace hp::app
