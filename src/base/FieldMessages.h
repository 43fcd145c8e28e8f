// The messages refusing an entry that the dialogs share (German, UTF-8).
// Dialogs of different origin word the same refusal differently; each
// wording is kept as its dialog shows it, and each is defined here once.
#pragma once

#include <string>
#include <string_view>

namespace hp::base::messages {

inline constexpr std::string_view kEnterNumber = "Bitte geben Sie eine Zahl ein.";
inline constexpr std::string_view kEnterInteger = "Bitte geben Sie eine ganze Zahl ein.";
inline constexpr std::string_view kNumberPlease = "Bitte eine Zahl eingeben.";

// The limits are written as entry fields show numbers (FormatEntryNumber).
// "Bitte geben Sie eine Zahl zwischen <min> und <max> ein."
std::string EnterNumberBetween(double min, double max);
// "Bitte eine Zahl zwischen <min> und <max> eingeben."
std::string NumberBetweenPlease(double min, double max);
// "Bitte eine ganze Zahl zwischen <min> und <max> eingeben."
std::string IntegerBetweenPlease(double min, double max);

}  // namespace hp::base::messages
