// Settings, messages and the shell over Qt.
#include "app/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include "app/QtText.h"

namespace hp::app {
namespace {

QString KeyOf(std::string_view section, std::string_view name) { return Q(section) + '/' + Q(name); }

QMessageBox::Icon IconOf(platform::Icon icon) {
  switch (icon) {
    case platform::Icon::Information: return QMessageBox::Information;
    case platform::Icon::Exclamation: return QMessageBox::Warning;
    case platform::Icon::Stop: return QMessageBox::Critical;
    case platform::Icon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// A message box of the program: its title, the text, German buttons.
int Ask(std::string_view text, platform::Icon icon, QMessageBox::StandardButtons buttons) {
  QMessageBox box(IconOf(icon), QStringLiteral("Hollowplan"), Q(text), buttons, QApplication::activeWindow());
  const std::pair<QMessageBox::StandardButton, const char*> names[] = {{QMessageBox::Ok, "OK"},
                                                                       {QMessageBox::Cancel, "Abbrechen"},
                                                                       {QMessageBox::Yes, "&Ja"},
                                                                       {QMessageBox::No, "&Nein"}};
  for (const auto& [button, name] : names)
    if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(name));
  return box.exec();
}

// The desktop's launcher reports success as soon as it starts, even when no
// program takes the file's type. Where the desktop's own type lookup is
// installed, it tells beforehand whether any program is associated.
bool DesktopHasProgramFor(const QString& file) {
  const QString lookup = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (lookup.isEmpty()) return true;
  const QString type = QMimeDatabase().mimeTypeForFile(file).name();
  QProcess query;
  query.start(lookup, {QStringLiteral("query"), QStringLiteral("default"), type});
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit) return true;
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Hollowplan"),
                                             QStringLiteral("Hollowplan"))) {}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

int QtSettingsStore::GetInt(std::string_view section, std::string_view name, int defaultValue) const {
  const std::lock_guard lock(m_mutex);
  bool ok = false;
  const int value = m_settings->value(KeyOf(section, name)).toInt(&ok);
  return ok ? value : defaultValue;
}

std::string QtSettingsStore::GetString(std::string_view section, std::string_view name,
                                       std::string_view defaultValue) const {
  const std::lock_guard lock(m_mutex);
  const QVariant value = m_settings->value(KeyOf(section, name));
  if (!value.isValid()) return std::string(defaultValue);
  return value.toString().toStdString();
}

void QtSettingsStore::SetInt(std::string_view section, std::string_view name, int value) {
  const std::lock_guard lock(m_mutex);
  m_settings->setValue(KeyOf(section, name), value);
}

void QtSettingsStore::SetString(std::string_view section, std::string_view name, std::string_view value) {
  const std::lock_guard lock(m_mutex);
  m_settings->setValue(KeyOf(section, name), Q(value));
}

bool QtSettingsStore::Contains(std::string_view section, std::string_view name) const {
  const std::lock_guard lock(m_mutex);
  return m_settings->contains(KeyOf(section, name));
}

void QtPrompter::Message(std::string_view text, platform::Icon icon) { Ask(text, icon, QMessageBox::Ok); }

platform::Answer QtPrompter::AskOkCancel(std::string_view text, platform::Icon icon) {
  return Ask(text, icon, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok ? platform::Answer::Ok
                                                                                   : platform::Answer::Cancel;
}

platform::Answer QtPrompter::AskYesNoCancel(std::string_view text, platform::Icon icon) {
  switch (Ask(text, icon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return platform::Answer::Yes;
    case QMessageBox::No: return platform::Answer::No;
    default: return platform::Answer::Cancel;
  }
}

bool QtShell::Open(std::string_view fileOrAddress) {
  const QString target = Q(fileOrAddress);
  if (target.contains(QStringLiteral("://"))) return QDesktopServices::openUrl(QUrl(target));
  if (!DesktopHasProgramFor(target)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

bool QtShell::StartProgram(std::string_view documentPath) {
  return QProcess::startDetached(QCoreApplication::applicationFilePath(), {Q(documentPath)});
}

}  // namespace hp::app
