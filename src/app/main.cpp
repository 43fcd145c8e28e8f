// hollowplan: the desktop program. A plain start shows the main window with
// no document; the documents named on the command line open at once.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <filesystem>
#include <optional>

#include "app/AppContext.h"
#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/PrintCommands.h"
#include "app/QtServices.h"
#include "platform/DataFolder.h"

int main(int argc, char** argv) {
  // The file dialogs show file dates in the system locale's form: German, as
  // every other text of the program (LC_ALL, when set, still decides).
  qputenv("LC_TIME", "de_DE.UTF-8");
  hp::app::CApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Hollowplan"));
  QApplication::setApplicationName(QStringLiteral("Hollowplan"));
  // Ties the windows to the installed menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.hollowplan.Hollowplan"));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  // Qt's own texts (standard buttons, file dialogs, shortcut names) in German.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }

  hp::app::QtSettingsStore settings;
  hp::app::QtPrompter prompter;
  hp::app::QtShell shell;
  // Vorlage.hpn and the user guide: beside the program in the build folder,
  // in ../share/hollowplan when installed.
  hp::app::AppContext context{
      settings, prompter, shell,
      hp::platform::DataFolder(std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()))};
  application.ReportFaultsWith(&prompter);

  const QStringList arguments = QApplication::arguments();
  // "-p FILE" and "-pt FILE PRINTER" print and end.
  if (const std::optional<int> printed = hp::app::RunCommandLinePrint(context, arguments.mid(1))) {
    application.ReportFaultsWith(nullptr);
    return *printed;
  }
  hp::app::CMainFrame frame(context);
  frame.show();
  // Once the window has its size, so that a restored document window gets
  // its share of it.
  QTimer::singleShot(0, &frame, [&frame, arguments] { frame.OpenStartDocuments(arguments.mid(1)); });
  const int status = QApplication::exec();
  application.ReportFaultsWith(nullptr);
  return status;
}
