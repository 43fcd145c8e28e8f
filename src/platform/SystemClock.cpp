// The system's local date.
#include <ctime>

#include "platform/Clock.h"

namespace hp::platform {

Date SystemClock::Today() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

}  // namespace hp::platform
