// The sub-sheet dialog "Teilblätter" (command "&Teilblätter...\tStrg+T"):
// moves the options of draw/SubSheetSetup.h between its widgets and the
// current worksheet; "OK" stores them, a refused field is reported and
// focused. "..." chooses the background map.
#pragma once

#include <filesystem>
#include <functional>

#include "app/DialogBase.h"
#include "draw/pages/SubSheetSetup.h"

class QCheckBox;
class QLineEdit;

namespace hp::app {

class CSubSheetDialog : public CDialogBase {
  Q_OBJECT

 public:
  using Store = std::function<std::optional<base::FieldFault<draw::SubSheetField>>(const draw::SubSheetOptions&)>;
  CSubSheetDialog(AppContext& app, const draw::SubSheetOptions& initial, std::filesystem::path documentFolder,
                  QWidget* parent, Store store);

  draw::SubSheetOptions options() const;
  void setOptions(const draw::SubSheetOptions& options);
  // A map file chosen (by "..." or a test): stored by its name relative to
  // the document's folder where it lies inside it, edges adapted.
  void ChooseMap(const std::filesystem::path& file);

  void accept() override;

 private:
  QLineEdit* Field(draw::SubSheetField field) const;

  std::filesystem::path m_folder;
  Store m_store;
  QCheckBox* m_manualOverview = nullptr;
  QCheckBox* m_manualSubSheets = nullptr;
  QCheckBox* m_manualPages = nullptr;
  QCheckBox* m_manualGrid = nullptr;
  QCheckBox* m_map = nullptr;
  QCheckBox* m_keepSize = nullptr;
  QCheckBox* m_keepProportions = nullptr;
  QLineEdit* m_mapFile = nullptr;
  // In the order of draw::SubSheetField.
  QLineEdit* m_fields[16] = {};
};

}  // namespace hp::app
