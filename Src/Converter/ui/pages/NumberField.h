// Reading and showing the numbers of the option pages' text fields: whole numbers and
// real numbers that must fill the field (blanks around them allowed), the leading integer
// of a field that takes any text, and real numbers shown with 15 significant digits so
// that 0.29 × 100 shows as 29, not 28.999999999999996.
#pragma once

#include <wx/string.h>

#include <optional>
#include <string_view>

// The message of a field that does not hold a whole number / a number, naming the field by
// its label (%s).
inline constexpr std::string_view kNotAWholeNumber = "Please enter a whole number in \"%s\".";
inline constexpr std::string_view kNotANumber = "Please enter a number in \"%s\".";

std::optional<int> ParseWholeNumber(std::string_view text);
std::optional<double> ParseRealNumber(std::string_view text);
// The integer its leading digits write (a sign allowed); 0 when it starts otherwise.
int LeadingInteger(std::string_view text);
wxString FormatReal(double value);
wxString FormatWhole(int value);
