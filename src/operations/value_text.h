#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

namespace operations {

// The number at the start of a value text, as the register table reads it: blanks (space,
// tab, line feed) are skipped anywhere; an optional sign, decimal digits with at most one
// decimal point and an optional exponent (E or D), or a hexadecimal number after "&H" or an
// octal one after "&O"; reading stops at the first character that cannot continue the number;
// a text without a leading number gives 0.
double Val(const std::string& text);

// Rounds to the nearest integer, a value exactly halfway between two going to the even one
// (254.5 gives 254, 0.5 gives 0, 3.5 gives 4).
double RoundHalfEven(double value);

// The value a value box's text programs: its number, rounded half to even; nothing for a text
// longer than three characters or a number outside 0 to 255.
std::optional<int> ProgrammingValue(const QString& text);

}  // namespace operations
