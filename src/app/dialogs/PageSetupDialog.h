// The page setup dialog "Seite einrichten" (command "Seite &einrichten...\tStrg+E"):
// moves the options of draw/PageSetup.h between its widgets and the current
// worksheet; "OK" and "Ü&bernehmen" store them, a refused field is reported
// and focused.
#pragma once

#include <functional>

#include "app/DialogBase.h"
#include "draw/pages/PageSetup.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace hp::app {

class CPageSetupDialog : public CDialogBase {
  Q_OBJECT

 public:
  // `store` stores the options and returns the refused field, if any;
  // `centre` works out "Grafik &zentrieren" for the options shown.
  using Store = std::function<std::optional<base::FieldFault<draw::PageSetupField>>(const draw::PageSetupOptions&)>;
  using Centre = std::function<std::optional<base::FieldFault<draw::PageSetupField>>(draw::PageSetupOptions&)>;
  CPageSetupDialog(AppContext& app, const draw::PageSetupOptions& initial, doc::DisplayType displayType,
                   QWidget* parent, Store store, Centre centre);

  draw::PageSetupOptions options() const;
  void setOptions(const draw::PageSetupOptions& options);
  // Reports a refused field and puts the focus on it.
  void ShowFault(const base::FieldFault<draw::PageSetupField>& fault);

  void accept() override;

 private:
  bool StoreShown();
  QWidget* FieldWidget(draw::PageSetupField field) const;

  Store m_store;
  Centre m_centre;
  QComboBox* m_scale = nullptr;
  QCheckBox* m_fitScale = nullptr;
  QRadioButton* m_overview = nullptr;
  QRadioButton* m_subSheets = nullptr;
  QSpinBox* m_left = nullptr;
  QSpinBox* m_right = nullptr;
  QSpinBox* m_top = nullptr;
  QSpinBox* m_bottom = nullptr;
  QRadioButton* m_portrait = nullptr;
  QRadioButton* m_landscape = nullptr;
  QCheckBox* m_centreOnPage = nullptr;
};

}  // namespace hp::app
