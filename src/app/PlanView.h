// The drawing window of a document: shows the current worksheet through the
// plane or spatial drawing, double-buffered, and scrolls when the drawing is
// larger than the window.
#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <QString>

class QPainter;

#include "draw/BackgroundMap.h"
#include "draw/Protocol.h"
#include "draw/ViewTransform.h"
#include "draw/WorksheetDrawing.h"
#include "platform/Clock.h"

namespace hp::app {

class CPlanDoc;

class CPlanView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit CPlanView(CPlanDoc& document, QWidget* parent = nullptr);

  CPlanDoc& document() { return m_doc; }
  draw::ViewTransform& viewTransform() { return m_view; }
  // What the last drawing left: scale, offsets, scene size, drawn area.
  const draw::WorksheetDrawingResult& lastDrawing() const { return m_last; }
  // The status line text of the last drawing.
  const QString& statusText() const { return m_status; }

  // Rebuilds the projection and redraws (after any change of data or view).
  void Redraw();
  // Forgets the background map, so a changed file is read again.
  void ResetBackgroundMap() { m_backgroundMap.Reset(); }

  // The survey protocol (display type 6): moves its page (false when the
  // worksheet shows no protocol or the page stays), and its clipboard text.
  bool PageProtocol(draw::ProtocolPageStep step);
  QString ProtocolText();

 Q_SIGNALS:
  void statusChanged(const QString& text);
  // After each drawing (tool bars show the worksheet's values).
  void drawn();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Draws the worksheet on `painter` scrolled by the scroll bars' values.
  void DrawOn(QPainter& painter, const QSize& client);
  void UpdateScrollBars(const QSize& client);
  // The protocol's page on the window; false for the other display types.
  bool DrawProtocolOn(QPainter& painter, draw::DeviceCaps caps, const QSize& client, const platform::Clock& clock);
  bool ProtocolWheel(QWheelEvent* event);
  bool ProtocolKey(QKeyEvent* event);
  QRect FrameBoxArea() const;
  QString StatusText() const;

  CPlanDoc& m_doc;
  draw::ViewTransform m_view;
  draw::BackgroundMap m_backgroundMap;
  draw::WorksheetDrawingResult m_last;
  QString m_status;
  bool m_updatingScrollBars = false;
};

}  // namespace hp::app
