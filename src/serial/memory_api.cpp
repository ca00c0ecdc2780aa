#include <cstdlib>
#include <cstring>

#include "serial/comm_api.h"

namespace win32 {

void* GlobalAlloc(DWORD /*uFlags*/, std::size_t dwBytes) {
  // Fixed memory, zero-filled, as the driver may read a buffer before the program has.
  return std::calloc(dwBytes == 0 ? 1 : dwBytes, 1);
}

void* GlobalFree(void* hMem) {
  std::free(hMem);
  return nullptr;
}

void RtlMoveMemory(void* Destination, const void* Source, std::size_t Length) {
  if (Length != 0) std::memmove(Destination, Source, Length);
}

char* lstrcpynA(char* lpString1, const char* lpString2, int iMaxLength) {
  if (lpString1 == nullptr || lpString2 == nullptr || iMaxLength <= 0) return lpString1;
  int i = 0;
  for (; i < iMaxLength - 1 && lpString2[i] != '\0'; ++i)
    lpString1[i] = lpString2[i];
  lpString1[i] = '\0';
  return lpString1;
}

}  // namespace win32
