#pragma once

#include <string>
#include <vector>

namespace ports {

// The descriptions of COM1 to COM4, in order, from one look at the machine's devices, for
// showing to the operator: the device, on the next line what it is where known, and on the
// last where the mapping came from.
std::vector<std::string> DescribeComNames();

}  // namespace ports
