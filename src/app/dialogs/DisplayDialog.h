// The display dialog ("Darstellung") of the drawing view: zoom, display type,
// view direction, camera centre, leg filter and origin station. Its rules
// live in draw/DisplayDialog.h; this window only shows and collects texts.
#pragma once

#include <QString>

#include "app/DialogBase.h"
#include "draw/interaction/DisplayDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace hp::app {

class CPlanDoc;

class CDisplayDialog : public CDialogBase {
  Q_OBJECT

 public:
  CDisplayDialog(AppContext& app, QWidget* parent, const draw::DisplayDialogState& state,
                 draw::DisplayType currentDisplayType);

  // The texts as the user left them.
  draw::DisplayDialogState state() const;
  // Puts the focus on a field the checks refused.
  void FocusField(draw::DisplayField field);

  // Refuses OK while a field holds a value the checks refuse.
  void accept() override;

 private:
  void UpdateEnabling();

  QComboBox* m_zoom = nullptr;
  QComboBox* m_type = nullptr;
  QLineEdit* m_azimuth = nullptr;
  QLineEdit* m_inclination = nullptr;
  QLineEdit* m_distance = nullptr;
  QLineEdit* m_centre[3] = {};
  QComboBox* m_filter = nullptr;
  QLineEdit* m_linePattern = nullptr;
  QLineEdit* m_labelPattern = nullptr;
  QCheckBox* m_adaptOverview = nullptr;
  QLineEdit* m_originCave = nullptr;
  QLineEdit* m_originPassage = nullptr;
  QLineEdit* m_originPoint = nullptr;
  QLineEdit* m_origin[3] = {};
  // Captions of the fields the display type enables.
  QLabel* m_azimuthCaption = nullptr;
  QLabel* m_inclinationCaption = nullptr;
  QLabel* m_distanceCaption = nullptr;
  QLabel* m_centreCaption = nullptr;
  QWidget* m_centreRow = nullptr;
  QLabel* m_labelPatternCaption = nullptr;
};

// Shows the dialog for the document's current worksheet. On OK the values
// go into the worksheet and `view` (recentre and projection-dirty flags),
// the document is marked modified and all its views redraw; returns true.
// A refused value is reported and the dialog stays open.
bool RunDisplayDialog(QWidget* parent, CPlanDoc& doc, draw::ViewTransform& view);

}  // namespace hp::app
