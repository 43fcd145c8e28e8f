// The survey protocol dialog "Vermessungsprotokoll" (command
// "Vermessungsproto&koll...\tStrg+K"): moves the options of
// draw/ProtocolDialog.h between its widgets and the current worksheet.
#pragma once

#include <array>

#include "app/DialogBase.h"
#include "draw/protocol/ProtocolDialog.h"

class QCheckBox;
class QComboBox;

namespace hp::app {

class CPlanDoc;

class CProtocolDialog : public CDialogBase {
  Q_OBJECT

 public:
  CProtocolDialog(AppContext& app, const draw::ProtocolOptions& initial, QWidget* parent);

  draw::ProtocolOptions options() const;
  void setOptions(const draw::ProtocolOptions& options);

 private:
  std::array<QCheckBox*, 8> m_sections{};
  QComboBox* m_numbering = nullptr;
  QComboBox* m_legInfo = nullptr;
  QComboBox* m_materialInfo = nullptr;
  QComboBox* m_measuresInfo = nullptr;
};

// Shows the dialog for the document's current worksheet; on OK a change is
// stored, the document marked modified and every view redrawn. True on OK.
bool RunProtocolDialog(QWidget* parent, CPlanDoc& doc);

}  // namespace hp::app
