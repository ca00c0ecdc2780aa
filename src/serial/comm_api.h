#pragma once

// The Win32-shaped communications and memory calls of the program, with the same arguments,
// codes and results. Behind a comm handle sits a tty or a simulated line.

#include <cstdint>

#include "serial/win32_types.h"

namespace win32 {

HANDLE CreateFileA(const char* lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   void* lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL CloseHandle(HANDLE hObject);
BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue);
BOOL GetCommState(HANDLE hFile, DCB* lpDCB);
BOOL SetCommState(HANDLE hFile, const DCB* lpDCB);
BOOL GetCommTimeouts(HANDLE hFile, COMMTIMEOUTS* lpCommTimeouts);
BOOL SetCommTimeouts(HANDLE hFile, const COMMTIMEOUTS* lpCommTimeouts);
BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask);
BOOL WaitCommEvent(HANDLE hFile, DWORD* lpEvtMask, OVERLAPPED* lpOverlapped);
BOOL ClearCommError(HANDLE hFile, DWORD* lpErrors, void* lpStat);
BOOL EscapeCommFunction(HANDLE hFile, DWORD dwFunc);
BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              OVERLAPPED* lpOverlapped);
BOOL WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
               DWORD* lpNumberOfBytesWritten, OVERLAPPED* lpOverlapped);
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
HANDLE CreateEventA(void* lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                    const char* lpName);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

inline constexpr DWORD GMEM_FIXED = 0;
void* GlobalAlloc(DWORD uFlags, std::size_t dwBytes);
void* GlobalFree(void* hMem);  // returns nullptr on success
void RtlMoveMemory(void* Destination, const void* Source, std::size_t Length);
char* lstrcpynA(char* lpString1, const char* lpString2, int iMaxLength);

}  // namespace win32
