// Texts between the core and Qt (QString): the program's own texts (UTF-8),
// the texts the document stores (Windows-1252), and file names from Qt's
// dialogs as paths.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Cp1252.h"

namespace hp::app {

inline QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A stored text as the widgets show it, and a typed text as it is stored
// (characters without a Windows-1252 byte become '?').
inline QString FromStored(std::string_view cp1252) { return Q(base::Cp1252ToUtf8(cp1252)); }
inline std::string ToStored(const QString& text) { return base::Utf8ToCp1252(text.toStdString()); }

inline std::filesystem::path PathOf(const QString& file) { return std::filesystem::path(file.toStdString()); }

}  // namespace hp::app
