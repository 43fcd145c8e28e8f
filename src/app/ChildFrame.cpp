// A document window.
#include "app/ChildFrame.h"

#include <QCloseEvent>

#include "app/PlanDoc.h"
#include "app/PlanView.h"

namespace hp::app {

CChildFrame::CChildFrame(std::unique_ptr<CPlanDoc> document, std::function<bool(CPlanDoc&)> querySave,
                         QWidget* parent)
    : QMdiSubWindow(parent), m_doc(std::move(document)), m_querySave(std::move(querySave)) {
  setAttribute(Qt::WA_DeleteOnClose);
  m_view = new CPlanView(*m_doc, this);
  setWidget(m_view);
  connect(m_doc.get(), &CPlanDoc::modifiedChanged, this, &CChildFrame::UpdateCaption);
  UpdateCaption();
}

// The view goes before the document it draws.
CChildFrame::~CChildFrame() {
  delete m_view;
  m_view = nullptr;
}

void CChildFrame::UpdateCaption() { setWindowTitle(m_doc->title() + (m_doc->isModified() ? "*" : "")); }

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (m_doc->isModified() && m_querySave && !m_querySave(*m_doc)) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace hp::app
