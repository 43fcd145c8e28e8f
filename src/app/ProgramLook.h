// The program's look: its own window icon, tool-bar icons from the desktop's
// icon theme with drawings of its own where the theme has none, and dialog
// buttons (OK, Abbrechen, ...) as plain text buttons.
#pragma once

#include <QIcon>
#include <QProxyStyle>
#include <QString>

namespace hp::app {

QIcon ProgramIcon();
// The theme's icon `themeName`, else the program's own drawing `bundled`
// (a name in the program's icon resources, without ".svg").
QIcon ToolIcon(const QString& themeName, const QString& bundled);

// The desktop's style without the icons some styles put on dialog buttons.
class CProgramStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace hp::app
