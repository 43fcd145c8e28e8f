// The leg display dialog "Messzüge" (command "&Messzüge...\tStrg+M"): moves
// the options of draw/LegDisplayDialog.h between its widgets and the current
// worksheet; "OK" and "Ü&bernehmen" store them.
#pragma once

#include <functional>

#include "app/DialogBase.h"
#include "draw/interaction/LegDisplayDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace hp::app {

class CPlanDoc;

class CLegDisplayDialog : public CDialogBase {
  Q_OBJECT

 public:
  // `store` is called by "OK" and "Ü&bernehmen" with options that passed
  // the check; a refused field is reported and focused instead.
  CLegDisplayDialog(AppContext& app, const draw::LegDisplayOptions& initial, QWidget* parent,
                    std::function<void(const draw::LegDisplayOptions&)> store);

  draw::LegDisplayOptions options() const;
  void setOptions(const draw::LegDisplayOptions& options);

  void accept() override;

 private:
  bool Store();
  void UpdateEnabling();

  std::function<void(const draw::LegDisplayOptions&)> m_store;
  QComboBox* m_colourMode = nullptr;
  QCheckBox* m_manualRange = nullptr;
  QLineEdit* m_max = nullptr;
  QLineEdit* m_min = nullptr;
  QCheckBox* m_blackBackground = nullptr;
  QCheckBox* m_pointsInStandardColour = nullptr;
  QSpinBox* m_lineWidth = nullptr;
  QCheckBox* m_numbering = nullptr;
  QComboBox* m_numberingKind = nullptr;
  QCheckBox* m_descriptionOverrides = nullptr;
  QCheckBox* m_stationMark = nullptr;
  QComboBox* m_stationMarkKind = nullptr;
  QComboBox* m_labelAngle = nullptr;
  QCheckBox* m_crosshair = nullptr;
  QCheckBox* m_fileSymbol = nullptr;
  QCheckBox* m_markCoordinateReferences = nullptr;
  QCheckBox* m_passageMarking = nullptr;
  QCheckBox* m_auxiliaryLines = nullptr;
  QCheckBox* m_crossSections = nullptr;
  QCheckBox* m_crossSectionsInStandardColour = nullptr;
};

// Shows "Messzüge" for the document's current worksheet. Each store (OK or
// "Ü&bernehmen") writes the worksheet, marks the document modified when
// anything changed, calls `applied` with what must follow (the view marks
// its pens dirty) and redraws all views. Returns true when closed with OK;
// stores made with "Ü&bernehmen" stay when the dialog is then cancelled.
bool RunLegDisplayDialog(QWidget* parent, CPlanDoc& doc,
                         std::function<void(const draw::WorksheetChange&)> applied = {});

}  // namespace hp::app
