// A document window.
#include "app/ChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "app/AnimationController.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"

namespace hp::app {

CChildFrame::CChildFrame(std::unique_ptr<CPlanDoc> document, std::function<bool(CPlanDoc&)> querySave, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(std::move(document)), m_querySave(std::move(querySave)) {
  setAttribute(Qt::WA_DeleteOnClose);
  // The window menu's "Close" keeps Strg+F4 only: Strg+W selects a worksheet.
  for (QAction* action : systemMenu()->actions()) {
    QList<QKeySequence> kept;
    for (const QKeySequence& keys : action->shortcuts())
      if (keys != QKeySequence(Qt::CTRL | Qt::Key_W)) kept.push_back(keys);
    action->setShortcuts(kept);
  }
  m_view = new CPlanView(*m_doc, this);
  setWidget(m_view);
  m_animation = new CAnimationController(*m_doc, *m_view, this);
  connect(m_doc.get(), &CPlanDoc::modifiedChanged, this, &CChildFrame::UpdateCaption);
  UpdateCaption();
}

// The animation goes before the view it watches, the view before the
// document it draws.
CChildFrame::~CChildFrame() {
  delete m_animation;
  m_animation = nullptr;
  delete m_view;
  m_view = nullptr;
}

void CChildFrame::UpdateCaption() { setWindowTitle(m_doc->title() + (m_doc->isModified() ? "*" : "")); }

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (m_doc->isModified() && m_querySave && !m_querySave(*m_doc)) {
    event->ignore();
    return;
  }
  Q_EMIT closing();
  event->accept();
}

}  // namespace hp::app
