// Texts between the core (UTF-8 std::string) and Qt (QString), and file
// names from Qt's dialogs as paths.
#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

namespace hp::app {

inline QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::filesystem::path PathOf(const QString& file) { return std::filesystem::path(file.toStdString()); }

}  // namespace hp::app
