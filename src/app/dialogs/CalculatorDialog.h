// The survey data calculator "Messdatenrechner" and the station distance
// "Messpunktabstand", both opened from the data editor for the record being
// edited. The windows only move texts between their fields and
// calc/SurveyCalculator.h.
#pragma once

#include <utility>
#include <vector>

#include "app/DialogBase.h"
#include "calc/SurveyCalculator.h"
#include "doc/SurveyStore.h"

class QCheckBox;
class QLineEdit;

namespace hp::app {

class CCalculatorDialog : public CDialogBase {
  Q_OBJECT

 public:
  CCalculatorDialog(AppContext& app, QWidget* parent, calc::SurveyCalculator& calculator);

  void accept() override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* AddField(calc::CalcField field);
  void ShowValues();
  // Runs the computation of an edited field; false when its text was refused.
  bool LeaveField(QLineEdit* edit);

  calc::SurveyCalculator& m_calculator;
  std::vector<std::pair<QLineEdit*, calc::CalcField>> m_fields;
  QCheckBox* m_reverse = nullptr;
  QCheckBox* m_down = nullptr;
  bool m_closing = false;
};

// "&Umrechnen": opens the calculator for `record`, the editor's field values
// gathered into a record (length, azimuth, inclination, instrument, date and
// the calculator state `calculator` are read). On OK writes `length`, `azimuth`,
// `inclination` and `calculator` (start reading, start height, reverse flag)
// back into `record` and returns true; every other field stays untouched.
// "Abbrechen" returns false and leaves `record` as it was.
bool RunSurveyCalculator(AppContext& app, QWidget* parent, const doc::SurveyStore& store, doc::SurveyRecord& record);

// "&Abstand": shows the distance and direction from the marked record's
// station (or, with `marked` null, from the current record's reference
// station) to the current record's station, from the stored coordinates.
void RunStationDistanceDialog(AppContext& app, QWidget* parent, const doc::SurveyStore& store,
                              const doc::SurveyRecord& current, const doc::SurveyRecord* marked);

}  // namespace hp::app
