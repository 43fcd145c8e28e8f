// The worksheet dialog "Arbeitsblatt" (command "Arbeitsb&latt...\tStrg+L"):
// moves the options of draw/WorksheetDialog.h between its widgets and the
// current worksheet; "OK" and "Ü&bernehmen" store them.
#pragma once

#include <functional>

#include "app/DialogBase.h"
#include "draw/interaction/WorksheetDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace hp::app {

class CPlanDoc;

class CWorksheetSettingsDialog : public CDialogBase {
  Q_OBJECT

 public:
  // `store` is called by "OK" and "Ü&bernehmen".
  CWorksheetSettingsDialog(AppContext& app, const draw::WorksheetOptions& initial, QWidget* parent,
                           std::function<void(const draw::WorksheetOptions&)> store);

  draw::WorksheetOptions options() const;
  void setOptions(const draw::WorksheetOptions& options);

  void accept() override;

 private:
  void UpdateEnabling();

  std::function<void(const draw::WorksheetOptions&)> m_store;
  QLineEdit* m_title = nullptr;
  QLineEdit* m_title2 = nullptr;
  QLineEdit* m_pageLabel = nullptr;
  QCheckBox* m_titleAndPageLabel = nullptr;
  QCheckBox* m_frame = nullptr;
  QCheckBox* m_axisLabels = nullptr;
  QCheckBox* m_gridCrosses = nullptr;
  QCheckBox* m_subSheetDivision = nullptr;
  QCheckBox* m_northArrow = nullptr;
  QComboBox* m_northArrowSize = nullptr;
  QCheckBox* m_heightLabels = nullptr;
  QSpinBox* m_heightLabelStep = nullptr;
};

// Shows "Arbeitsblatt" for the document's current worksheet. Each store (OK
// or "Ü&bernehmen") writes the worksheet, marks the document modified when
// anything changed, calls `applied` with what must follow (the view marks
// its projection dirty when asked) and redraws all views. Returns true when
// closed with OK; stores made with "Ü&bernehmen" stay when the dialog is then
// cancelled.
bool RunWorksheetSettingsDialog(QWidget* parent, CPlanDoc& doc,
                                std::function<void(const draw::WorksheetChange&)> applied = {});

}  // namespace hp::app
