#pragma once

// The numbers that come from outside (command lines, profiles, scripts): one parser for each
// kind. A number is decimal ("12", "0012") or hexadecimal after 0x ("0x0c"), in ASCII digits,
// with nothing before or after it and no sign; anything else, or a number out of range, is
// refused with a message that quotes the text and says what is accepted.

#include <QString>
#include <optional>
#include <vector>

namespace operations {

// The largest register value and module address, one byte each.
inline constexpr int kHighestValue = 255;
inline constexpr int kHighestAddress = 255;

// A register number, 0 to 31.
std::optional<int> ParseRegisterNumber(const QString& text, QString& error);

// A register value, 0 to 255; `n` is the register it is for, named in the message.
std::optional<int> ParseRegisterValue(int n, const QString& text, QString& error);

// A module address, 0 to 255.
std::optional<int> ParseAddress(const QString& text, QString& error);

// Registers as a script lists them: numbers and ranges separated by commas ("0-3,31",
// "0x1f"). They come out in order, each once.
std::optional<std::vector<int>> ParseRegisterList(const QString& text, QString& error);

// A duration in whole or decimal seconds ("30", "2.5"), 1 second to a day.
std::optional<double> ParseSeconds(const QString& text, QString& error);

// The text as a message shows it: as it is when it is plain, else in quotes with anything
// unprintable written as \xNN or \u{NNNN}.
QString Quoted(const QString& text);

// Whether the text holds a control character or a line or paragraph separator: what a name or a
// label given from outside must not hold.
bool HoldsControlCharacter(const QString& text);

}  // namespace operations
