// The program's Qt application: no exception from a window's event handling
// reaches the event loop; it is reported and the program goes on.
#pragma once

#include <QApplication>

#include "platform/Prompter.h"

namespace hp::app {

class CApplication final : public QApplication {
  Q_OBJECT

 public:
  CApplication(int& argc, char** argv);

  // The messages that report a fault; none: faults are only dropped.
  void ReportFaultsWith(platform::Prompter* prompter) { m_prompter = prompter; }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  platform::Prompter* m_prompter = nullptr;
  bool m_reporting = false;
};

}  // namespace hp::app
