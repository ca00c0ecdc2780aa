#pragma once

#include <vector>

#include "operations/number_text.h"

namespace cli {

// Register lists are read as everywhere else: "0-3,31", "0x1f".
using operations::ParseRegisterList;

// Every register, 0 to 31.
std::vector<int> AllRegisters();

}  // namespace cli
