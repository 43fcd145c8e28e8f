// Dialog position memory and help.
#include "app/DialogBase.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "app/AppContext.h"
#include "platform/WindowPlacement.h"

namespace hp::app {
namespace {

std::string Key(const QString& caption, const char* axis) { return (caption + axis).toStdString(); }

QString HelpText() { return QStringLiteral("Hilfe"); }

platform::ScreenRect ToScreenRect(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

CDialogBase::CDialogBase(AppContext& app, QWidget* parent, const QString& caption) : QDialog(parent), m_app(app) {
  setWindowTitle(caption);
}

QDialogButtonBox* CDialogBase::MakeOkCancelButtons() {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  return buttons;
}

QPushButton* CDialogBase::MakeHelpButton(const QString& page) {
  if (!page.isEmpty()) setHelpTopic(page);
  auto* help = new QPushButton(HelpText(), this);
  help->setAutoDefault(false);
  // The topic is read when clicked, as F1 reads it.
  connect(help, &QPushButton::clicked, this, [this] { OpenHelpTopic(m_app, helpTopic()); });
  return help;
}

QDialogButtonBox* CDialogBase::AddHelpButton(QDialogButtonBox* buttons, const QString& page) {
  buttons->addButton(MakeHelpButton(page), QDialogButtonBox::HelpRole);
  return buttons;
}

void CDialogBase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!m_placed) {
    m_placed = true;
    PlaceOnOpening();
  }
}

void CDialogBase::PlaceOnOpening() {
  // Positions are kept as the dialog's client area (inside the window
  // manager's frame): placing and reading back report that the same way,
  // framed or not yet framed. The frame counts only for holding the dialog
  // inside the work area.
  const QString caption = windowTitle();
  auto& settings = m_app.settings;
  const int x = settings.GetInt(platform::kDialogSection, Key(caption, " X"), platform::kNoDialogPosition);
  const int y = settings.GetInt(platform::kDialogSection, Key(caption, " Y"), platform::kNoDialogPosition);
  if (x == platform::kNoDialogPosition || y == platform::kNoDialogPosition) {
    // The first time the dialog stays where it opens: centred on its owner
    // (the window manager may centre it itself).
    m_openedAt = geometry().topLeft();
    return;
  }
  const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();  // (0, 0) until framed
  const QSize size = frameGeometry().size();
  QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const platform::ScreenPoint frameAt = platform::KeepInsideWorkArea({x - frameOffset.x(), y - frameOffset.y()},
                                                                     size.width(), size.height(), ToScreenRect(work));
  m_openedAt = QPoint(frameAt.x, frameAt.y) + frameOffset;
  setGeometry(QRect(m_openedAt, geometry().size()));
}

void CDialogBase::RememberPosition() {
  if (!m_placed) return;
  const QPoint now = geometry().topLeft();
  if (now == m_openedAt) return;
  auto& settings = m_app.settings;
  settings.SetInt(platform::kDialogSection, Key(windowTitle(), " X"), now.x());
  settings.SetInt(platform::kDialogSection, Key(windowTitle(), " Y"), now.y());
}

void CDialogBase::done(int result) {
  RememberPosition();
  QDialog::done(result);
}

void CDialogBase::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    OpenHelpTopic(m_app, helpTopic());
    return;
  }
  QDialog::keyPressEvent(event);
}

std::optional<std::filesystem::path> HelpPage(const std::filesystem::path& programFolder, const QString& topic) {
  const std::filesystem::path folder = programFolder / "help" / "html";
  std::error_code error;
  for (const std::filesystem::path& page : {folder / (topic.toStdString() + ".htm"), folder / "index.htm"}) {
    if (std::filesystem::is_regular_file(page, error)) return page;
  }
  return std::nullopt;
}

bool OpenHelpTopic(const AppContext& app, const QString& topic) {
  const auto page = HelpPage(app.programFolder, topic);
  return page && app.shell.Open(page->string());
}

void AddHelpButton(const AppContext& app, QDialogButtonBox* buttons, const QString& topic) {
  QPushButton* help = buttons->addButton(HelpText(), QDialogButtonBox::HelpRole);
  QObject::connect(help, &QPushButton::clicked, buttons, [&app, topic] { OpenHelpTopic(app, topic); });
}

}  // namespace hp::app
