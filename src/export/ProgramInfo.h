// The program's name, version and maker as the export files name them.
#pragma once

#include <string_view>

namespace hp::exports {

inline constexpr std::string_view kProgramName = "Hollowplan";
inline constexpr std::string_view kProgramVersion = "22.8.0";
inline constexpr std::string_view kRights = "(c) 1998-2026 Tomas Wendrik";
inline constexpr std::string_view kWebAddress = "http://www.hollowplan.de/";
// Folder of the placemark icons on the web server.
inline constexpr std::string_view kIconAddress = "http://www.hollowplan.de/icons/";

}  // namespace hp::exports
