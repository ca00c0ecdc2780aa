#include "register_list.h"

#include "operations/page_views.h"

namespace cli {

std::vector<int> AllRegisters() {
  std::vector<int> all(operations::kRegisterCount);
  for (int n = 0; n < operations::kRegisterCount; ++n)
    all[static_cast<std::size_t>(n)] = n;
  return all;
}

}  // namespace cli
