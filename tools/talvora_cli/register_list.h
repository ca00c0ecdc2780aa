#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace cli {

// A list of registers as a script writes it: numbers and ranges separated by commas, each
// number decimal or hexadecimal ("0x1f"), e.g. "0-3,31". The registers come out in order,
// each once. Nothing, with `error` saying what is wrong, for a malformed list or a register
// outside 0 to 31.
std::optional<std::vector<int>> ParseRegisterList(const QString& text, QString& error);

// Every register, 0 to 31.
std::vector<int> AllRegisters();

// A register number alone, as in "N=V" or a profile's key (decimal or hexadecimal).
std::optional<int> ParseRegister(const QString& text, QString& error);

}  // namespace cli
