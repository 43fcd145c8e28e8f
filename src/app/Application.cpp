// Exceptions stop at the event loop.
#include "app/Application.h"

#include <exception>

#include "app/MainFrame.h"
#include "app/ProgramLook.h"

namespace hp::app {

CApplication::CApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setStyle(new CProgramStyle);
  setWindowIcon(ProgramIcon());
}

bool CApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    // The report is a message box with events of its own: a fault while it
    // is open is not reported again.
    if (!m_reporting && m_prompter != nullptr) {
      m_reporting = true;
      const std::exception_ptr error = std::current_exception();
      CMainFrame::Guarded(*m_prompter, [&error] { std::rethrow_exception(error); });
      m_reporting = false;
    }
    return false;
  }
}

}  // namespace hp::app
