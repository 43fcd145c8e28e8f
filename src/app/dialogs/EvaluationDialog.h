// The data evaluation window ("Datenauswertung"): the figures of the legs the
// worksheet shows and of all legs side by side, read-only.
#pragma once

#include <QString>

#include "app/DialogBase.h"
#include "calc/DataEvaluation.h"

class QWidget;

namespace hp::app {

class CPlanDoc;

class CEvaluationDialog : public CDialogBase {
  Q_OBJECT

 public:
  CEvaluationDialog(AppContext& app, QWidget* parent, const calc::SurveyEvaluation& evaluation);
};

// The text of one value: the leg count as a whole number, the others rounded
// to hundredths with a decimal comma (as the batch tool's stats print them).
QString EvaluationCellText(size_t row, double value);

// Evaluates the document's current worksheet (with a wait cursor) and shows
// the result. `heightOffset` and `referencePath` are the reference values the
// view's transform last found (0 when it found no origin station).
void RunEvaluationDialog(QWidget* parent, CPlanDoc& doc, double heightOffset, double referencePath);

}  // namespace hp::app
