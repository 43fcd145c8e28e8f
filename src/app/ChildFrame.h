// The window of one document inside the main window: owns the document and
// its one view, and asks to save a modified document before it closes.
#pragma once

#include <QMdiSubWindow>
#include <functional>
#include <memory>

namespace hp::app {

class CAnimationController;
class CPlanDoc;
class CPlanView;

class CChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  // `querySave` asks "Änderungen in %1 speichern?" and saves on Yes; false
  // keeps the window open.
  CChildFrame(std::unique_ptr<CPlanDoc> document, std::function<bool(CPlanDoc&)> querySave, QWidget* parent = nullptr);
  ~CChildFrame() override;

  CPlanDoc& document() { return *m_doc; }
  CPlanView& view() { return *m_view; }
  // The flight and spin of the view.
  CAnimationController& animation() { return *m_animation; }

  // Shows the caption of the document: its title, "*" while modified.
  void UpdateCaption();

 Q_SIGNALS:
  // The window's close was accepted; it goes away next.
  void closing();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<CPlanDoc> m_doc;
  CPlanView* m_view = nullptr;
  CAnimationController* m_animation = nullptr;
  std::function<bool(CPlanDoc&)> m_querySave;
};

}  // namespace hp::app
