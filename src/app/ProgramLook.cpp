// Icons and style of the program.
#include "app/ProgramLook.h"

// The icons are compiled into the program's library; a static library needs
// its resources named once before the first use.
static void InitProgramIcons() { Q_INIT_RESOURCE(icons); }

namespace hp::app {
namespace {

void EnsureIcons() {
  static const bool done = [] {
    InitProgramIcons();
    return true;
  }();
  (void)done;
}

}  // namespace

QIcon ProgramIcon() {
  EnsureIcons();
  return QIcon(QStringLiteral(":/icons/hollowplan.svg"));
}

QIcon ToolIcon(const QString& themeName, const QString& bundled) {
  EnsureIcons();
  return QIcon::fromTheme(themeName, QIcon(QStringLiteral(":/icons/%1.svg").arg(bundled)));
}

int CProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace hp::app
