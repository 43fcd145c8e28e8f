// The program's Qt application: no exception from a window's event handling
// reaches the event loop; it is reported and the program goes on.
#pragma once

#include <QApplication>

namespace hp::app {

class CApplication final : public QApplication {
  Q_OBJECT

 public:
  CApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  bool m_reporting = false;
};

}  // namespace hp::app
