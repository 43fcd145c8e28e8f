// Long work of a document (reading a large file, a compute pass over a large
// survey) runs on a thread of its own while the program goes on: its windows
// repaint, the status line shows how far the work has come, and no command
// starts meanwhile. Esc asks the work to stop where it can.
//
// The work may read the document, and write it when no window shows it yet
// or the document says it is busy; the windows then show their last picture.
#pragma once

#include <QString>
#include <functional>

#include "platform/Prompter.h"

namespace hp::app {

// Forwards the core's messages and questions from the work's thread to the
// program's prompter, shown by the program's own thread, and waits for the
// answer.
class CThreadPrompter final : public platform::Prompter {
 public:
  explicit CThreadPrompter(platform::Prompter& to) : m_to(to) {}
  void Message(std::string_view text, platform::Icon icon) override;
  platform::Answer AskOkCancel(std::string_view text, platform::Icon icon) override;
  platform::Answer AskYesNoCancel(std::string_view text, platform::Icon icon) override;

 private:
  platform::Prompter& m_to;
};

struct BackgroundWork {
  std::function<void()> run;                         // on the work's thread
  std::function<QString()> progressText;             // asked on the program's thread every 100 ms
  std::function<void()> cancel;                      // Esc; may be empty
  std::function<void(const QString&)> showProgress;  // an empty text at the end
};

// Runs the work and returns when it is done; an exception of the work comes
// out here. The windows that are open when it starts take no input until
// then (windows the work opens, its message boxes, do): keys and the wheel
// reach them afterwards, clicks and mouse moves are dropped.
void RunInBackground(const BackgroundWork& work);

// Whether some work runs in the background now: the program's own timers
// and deferred drawings wait for it to end.
bool BackgroundWorkRunning();

}  // namespace hp::app
