// The process's Qt Gui application for drawing without windows.
#include "gfx/GuiApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

namespace hp::gfx {

void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's own notes (a missing runtime folder and the like) are not messages
  // of the program: only real failures reach stderr.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  });
  // The application keeps references to these for its whole life.
  static int argc = 1;
  static char name[] = "hollowplan";
  static char* argv[] = {name, nullptr};
  // Kept until the process ends: tearing Qt down among the static
  // destructors after main() would crash.
  static QGuiApplication* const application = new QGuiApplication(argc, argv);
  (void)application;
}

}  // namespace hp::gfx
