// Long work on a thread of its own, the program's events going on meanwhile.
#include "app/BackgroundWork.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace hp::app {
namespace {

constexpr int kProgressMillis = 100;

int g_running = 0;

// Runs `call` on the program's thread and waits for it.
template <class Call>
auto OnProgramThread(Call call) {
  decltype(call()) result{};
  QMetaObject::invokeMethod(
      qApp, [&] { result = call(); }, Qt::BlockingQueuedConnection);
  return result;
}

// Holds back the user's input to the windows open when the work started,
// and a request to close them; Esc asks the work to stop. Keys and wheel
// turns are delivered when the hold ends.
class InputHold final : public QObject {
 public:
  explicit InputHold(std::function<void()> cancel) : m_cancel(std::move(cancel)) {
    for (QWidget* window : QApplication::topLevelWidgets()) m_held.push_back(window);
    qApp->installEventFilter(this);
  }
  ~InputHold() override {
    qApp->removeEventFilter(this);
    for (Deferred& deferred : m_deferred)
      if (deferred.receiver) QCoreApplication::postEvent(deferred.receiver, deferred.event.release());
  }
  InputHold(const InputHold&) = delete;
  InputHold& operator=(const InputHold&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!IsInput(event->type()) || !Held(watched)) return false;
    const bool escape = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (escape && m_cancel) m_cancel();
    if (event->type() == QEvent::Close) {
      event->ignore();
      if (m_cancel) m_cancel();
    }
    const bool deferred =
        event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease || event->type() == QEvent::Wheel;
    if (deferred && !escape) m_deferred.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
  }

 private:
  static bool IsInput(QEvent::Type type) {
    switch (type) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::ContextMenu:
      case QEvent::Drop:
      case QEvent::Close: return true;
      default: return false;
    }
  }

  bool Held(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    QWidget* window = widget->window();
    for (const QPointer<QWidget>& held : m_held)
      if (held == window) return true;
    return false;
  }

  struct Deferred {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
  };

  std::function<void()> m_cancel;
  std::vector<QPointer<QWidget>> m_held;
  std::vector<Deferred> m_deferred;
};

}  // namespace

void CThreadPrompter::Message(std::string_view text, platform::Icon icon) {
  const std::string copy(text);
  OnProgramThread([&] {
    m_to.Message(copy, icon);
    return 0;
  });
}

platform::Answer CThreadPrompter::AskOkCancel(std::string_view text, platform::Icon icon) {
  const std::string copy(text);
  return OnProgramThread([&] { return m_to.AskOkCancel(copy, icon); });
}

platform::Answer CThreadPrompter::AskYesNoCancel(std::string_view text, platform::Icon icon) {
  const std::string copy(text);
  return OnProgramThread([&] { return m_to.AskYesNoCancel(copy, icon); });
}

bool BackgroundWorkRunning() { return g_running > 0; }

void RunInBackground(const BackgroundWork& work) {
  struct Running {
    Running() { ++g_running; }
    ~Running() { --g_running; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
  } running;
  QEventLoop loop;
  std::exception_ptr fault;
  InputHold hold(work.cancel);
  QTimer timer;
  timer.setInterval(kProgressMillis);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&work] { work.showProgress(work.progressText()); });
  work.showProgress(work.progressText());
  timer.start();
  QApplication::setOverrideCursor(Qt::BusyCursor);
  std::thread thread([&] {
    try {
      work.run();
    } catch (...) {
      fault = std::current_exception();
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  thread.join();
  QApplication::restoreOverrideCursor();
  work.showProgress(QString());
  if (fault) std::rethrow_exception(fault);
}

}  // namespace hp::app
