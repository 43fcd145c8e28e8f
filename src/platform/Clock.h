// Today's date, for the page label.
#pragma once

namespace hp::platform {

struct Date {
  int day = 1;
  int month = 1;
  int year = 2000;
  friend bool operator==(const Date&, const Date&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() const = 0;
};

// The local date of the system clock.
class SystemClock final : public Clock {
 public:
  Date Today() const override;
};

// A clock that always tells the same date (tests, the batch tool's --date).
class FixedClock final : public Clock {
 public:
  explicit FixedClock(Date date) : m_date(date) {}
  Date Today() const override { return m_date; }

 private:
  Date m_date;
};

}  // namespace hp::platform
