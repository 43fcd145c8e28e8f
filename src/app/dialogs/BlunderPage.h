// The page "Fehlersuche" of the loop closure evaluation: every loop of the
// survey network with its normalised misclosure, the suspected readings
// with the values that would close the loops, and the two accuracies the
// search assumes (kept in the program settings).
#pragma once

#include <QWidget>

#include "calc/BlunderFinder.h"

class QLineEdit;
class QTableWidget;

namespace hp::app {

class CPlanDoc;

class CBlunderPage : public QWidget {
  Q_OBJECT

 public:
  CBlunderPage(QWidget* parent, CPlanDoc& doc);

  QTableWidget* loops() const { return m_loops; }
  QTableWidget* suspects() const { return m_suspects; }
  QLineEdit* sigmaLength() const { return m_sigmaLength; }
  QLineEdit* sigmaAngle() const { return m_sigmaAngle; }
  // Takes the accuracies from the fields (stores them when they are valid)
  // and searches again; false, after a message, when a field is invalid.
  bool Search();
  // "&Zeigen": the views highlight the current suspect's leg.
  void ShowCurrentSuspect();

 Q_SIGNALS:
  // A suspect was double-clicked: its record number, from 1.
  void editRecord(int number);
  // A suspect was selected: its record number, from 1.
  void selectRecord(int number);

 private:
  void Fill();

  CPlanDoc& m_doc;
  calc::BlunderOptions m_options;
  calc::BlunderReport m_report;
  QTableWidget* m_loops = nullptr;
  QTableWidget* m_suspects = nullptr;
  QLineEdit* m_sigmaLength = nullptr;
  QLineEdit* m_sigmaAngle = nullptr;
};

}  // namespace hp::app
