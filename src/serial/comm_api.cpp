#include "serial/comm_api.h"

#include <utility>

#include "platform/event_service.h"
#include "serial/device_names.h"
#include "serial/handle_table.h"
#include "serial/logs/traffic_log.h"
#include "serial/open_failure.h"
#include "serial/sim_line/simulated_line.h"
#include "serial/tty/tty_device.h"

namespace win32 {
namespace {

using platform::Micros;

DWORD& LastError() {
  static DWORD error = ERROR_SUCCESS;
  return error;
}

HandleTable& Handles() {
  return HandleTable::Instance();
}

Micros Now() {
  return platform::Events().NowMicros();
}

BOOL Fail(DWORD error) {
  LastError() = error;
  return 0;
}

void Signal(HANDLE event) {
  if (EventEntry* entry = Handles().Event(event)) {
    entry->signalled = true;
    entry->device = 0;
  }
}

// The operation's event stays unsignalled until the driver finishes it.
void Arm(HANDLE event, HANDLE device) {
  if (EventEntry* entry = Handles().Event(event)) {
    entry->signalled = false;
    entry->device = device;
  }
}

void Reset(HANDLE event) {
  if (EventEntry* entry = Handles().Event(event)) entry->signalled = false;
}

void Finish(PendingOperation& op, DWORD status, DWORD transferred) {
  if (op.overlapped != nullptr) {
    op.overlapped->Internal = status;
    op.overlapped->InternalHigh = transferred;
  }
  op.active = false;
  Signal(op.event);
}

void FinishRead(DeviceEntry& entry, std::size_t count) {
  PendingOperation& read = entry.read;
  const std::size_t taken = entry.device->Input().Take(read.buffer, count);
  if (taken > 0) {
    serial::traffic_log::FrameIn(
        std::string_view(reinterpret_cast<const char*>(read.buffer), taken), Now());
  }
  Finish(read, STATUS_SUCCESS, static_cast<DWORD>(taken));
}

void ReportEvent(DeviceEntry& entry, DWORD events, DWORD status = STATUS_SUCCESS) {
  if (entry.wait.eventMask != nullptr) *entry.wait.eventMask = events;
  Finish(entry.wait, status, 0);
}

// Brings a device up to now and finishes whatever of its operations has ended by now.
void Refresh(DeviceEntry& entry) {
  const Micros now = Now();
  CommDevice& device = *entry.device;
  device.Advance(now);
  if (const DWORD errors = device.TakeLineErrors(); errors != 0) {
    serial::traffic_log::LineErrors(errors, now);
    entry.errorFlags |= errors;
    entry.errorEvent = true;
  }
  const bool broken = device.Broken();

  if (entry.read.active) {
    const auto end =
        device.Input().Evaluate(entry.read.started, entry.timeouts, entry.read.count, now);
    if (end.finished) {
      FinishRead(entry, end.count);
    } else if (broken) {
      FinishRead(entry, device.Input().ArrivedBy(now));
    }
  }
  if (entry.write.active && (broken || device.TransmitDone(now))) {
    Finish(entry.write, broken ? STATUS_CANCELLED : STATUS_SUCCESS, broken ? 0 : entry.write.count);
  }
  if (entry.wait.active) {
    if (entry.errorEvent && (entry.eventMask & EV_ERR) != 0) {
      entry.errorEvent = false;
      ReportEvent(entry, EV_ERR);
    } else if (broken) {
      ReportEvent(entry, 0);
    }
  }
}

DeviceEntry* OpenDevice(HANDLE handle) {
  DeviceEntry* entry = Handles().Device(handle);
  if (entry == nullptr) LastError() = ERROR_INVALID_HANDLE;
  return entry;
}

std::unique_ptr<CommDevice> OpenBackEnd(const std::string& name, OpenFailure& failure) {
  failure = OpenFailure{};
  failure.name = name;
  if (name.empty()) {
    failure.error = ERROR_FILE_NOT_FOUND;
    failure.reason = "no port was chosen";
    failure.fix = "choose one of COM1 to COM4 before pressing OK";
    return nullptr;
  }
  const DeviceTarget target = ResolveDeviceName(name);
  failure.device = target.kind == DeviceTarget::Kind::Simulated
                       ? target.device + " (simulated radio system)"
                       : target.path;
  if (target.kind == DeviceTarget::Kind::Simulated)
    return serial::OpenSimulatedLine(target.options, failure);
  auto device = serial::OpenTtyDevice(name, target.path, failure);
  failure.name = name;
  return device;
}

// The DTR and RTS control fields of a record set the lines when it is applied: "disable"
// lowers the line, "enable" raises it; handshake and toggle leave it to the driver.
void ApplyLineControl(CommDevice& device, const DCB& dcb) {
  const DWORD dtr = (dcb.Flags & dcb_flags::fDtrControlMask) >> dcb_flags::kDtrControlShift;
  const DWORD rts = (dcb.Flags & dcb_flags::fRtsControlMask) >> dcb_flags::kRtsControlShift;
  if (dtr == DTR_CONTROL_DISABLE || dtr == DTR_CONTROL_ENABLE) {
    device.SetDtr(dtr == DTR_CONTROL_ENABLE, Now());
  }
  if (rts == RTS_CONTROL_DISABLE || rts == RTS_CONTROL_ENABLE) {
    device.SetRts(rts == RTS_CONTROL_ENABLE, Now());
  }
}

}  // namespace

HANDLE CreateFileA(const char* lpFileName, DWORD /*dwDesiredAccess*/, DWORD /*dwShareMode*/,
                   void* /*lpSecurityAttributes*/, DWORD /*dwCreationDisposition*/,
                   DWORD /*dwFlagsAndAttributes*/, HANDLE /*hTemplateFile*/) {
  OpenFailure failure;
  auto device = OpenBackEnd(lpFileName == nullptr ? std::string() : lpFileName, failure);
  if (!device) {
    LastError() = failure.error;
    StoreOpenFailure(std::move(failure));
    return INVALID_HANDLE_VALUE;
  }
  const HANDLE handle = Handles().AddDevice(std::move(device));
  DeviceEntry* entry = Handles().Device(handle);
  serial::traffic_log::PortOpened(failure.name, failure.device, Now());
  entry->device->Advance(Now());
  LastError() = ERROR_SUCCESS;
  return handle;
}

BOOL CloseHandle(HANDLE hObject) {
  if (Handles().RemoveEvent(hObject)) return 1;
  auto entry = Handles().TakeDevice(hObject);
  if (!entry) return Fail(ERROR_INVALID_HANDLE);
  // Operations cut off by the close end as aborted, with nothing transferred.
  entry->device->Advance(Now());
  if (entry->read.active) Finish(entry->read, STATUS_CANCELLED, 0);
  if (entry->write.active) Finish(entry->write, STATUS_CANCELLED, 0);
  if (entry->wait.active) ReportEvent(*entry, 0, STATUS_CANCELLED);
  serial::traffic_log::PortClosed(Now());
  return 1;
}

BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  entry->device->SetQueueSizes(dwInQueue, dwOutQueue);
  return 1;
}

BOOL GetCommState(HANDLE hFile, DCB* lpDCB) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  if (lpDCB == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  return entry->device->ReadBack(*lpDCB) ? 1 : Fail(ERROR_GEN_FAILURE);
}

BOOL SetCommState(HANDLE hFile, const DCB* lpDCB) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  if (lpDCB == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  Refresh(*entry);
  if (!entry->device->Apply(*lpDCB)) return Fail(ERROR_INVALID_PARAMETER);
  ApplyLineControl(*entry->device, *lpDCB);
  return 1;
}

BOOL GetCommTimeouts(HANDLE hFile, COMMTIMEOUTS* lpCommTimeouts) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  if (lpCommTimeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  *lpCommTimeouts = entry->timeouts;
  return 1;
}

BOOL SetCommTimeouts(HANDLE hFile, const COMMTIMEOUTS* lpCommTimeouts) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  if (lpCommTimeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  entry->timeouts = *lpCommTimeouts;
  return 1;
}

BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  // A new mask ends a pending event wait with no events.
  if (entry->wait.active) ReportEvent(*entry, 0);
  entry->eventMask = dwEvtMask;
  return 1;
}

BOOL WaitCommEvent(HANDLE hFile, DWORD* lpEvtMask, OVERLAPPED* lpOverlapped) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  if (lpOverlapped == nullptr || lpEvtMask == nullptr || entry->wait.active ||
      entry->eventMask == 0) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  Reset(lpOverlapped->hEvent);
  Refresh(*entry);
  if (entry->device->Broken()) return Fail(ERROR_GEN_FAILURE);
  entry->wait =
      PendingOperation{true, lpOverlapped, lpOverlapped->hEvent, nullptr, 0, lpEvtMask, Now()};
  if (entry->errorEvent && (entry->eventMask & EV_ERR) != 0) {
    entry->errorEvent = false;
    ReportEvent(*entry, EV_ERR);
    return 1;
  }
  Arm(lpOverlapped->hEvent, hFile);
  return Fail(ERROR_IO_PENDING);
}

BOOL ClearCommError(HANDLE hFile, DWORD* lpErrors, void* /*lpStat*/) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  Refresh(*entry);
  if (lpErrors != nullptr) *lpErrors = entry->errorFlags;
  entry->errorFlags = 0;
  return 1;
}

BOOL EscapeCommFunction(HANDLE hFile, DWORD dwFunc) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  // Bytes already on the line were sent with the level they had; bring the line up to now first.
  Refresh(*entry);
  bool done = false;
  switch (dwFunc) {
    case SETRTS:
      done = entry->device->SetRts(true, Now());
      break;
    case CLRRTS:
      done = entry->device->SetRts(false, Now());
      break;
    case SETDTR:
      done = entry->device->SetDtr(true, Now());
      break;
    case CLRDTR:
      done = entry->device->SetDtr(false, Now());
      break;
    default:
      return Fail(ERROR_INVALID_PARAMETER);
  }
  if (!done) return Fail(ERROR_NOT_SUPPORTED);
  if ((dwFunc == SETRTS || dwFunc == CLRRTS) && entry->rts != (dwFunc == SETRTS)) {
    entry->rts = dwFunc == SETRTS;
    serial::traffic_log::Rts(entry->rts, Now());
  }
  return 1;
}

BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              OVERLAPPED* lpOverlapped) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  if (lpOverlapped == nullptr || lpBuffer == nullptr || entry->read.active) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  Reset(lpOverlapped->hEvent);
  Refresh(*entry);
  if (entry->device->Broken()) return Fail(ERROR_GEN_FAILURE);
  const Micros now = Now();
  entry->read = PendingOperation{true,
                                 lpOverlapped,
                                 lpOverlapped->hEvent,
                                 static_cast<std::uint8_t*>(lpBuffer),
                                 nNumberOfBytesToRead,
                                 nullptr,
                                 now};
  const auto end = entry->device->Input().Evaluate(now, entry->timeouts, nNumberOfBytesToRead, now);
  if (end.finished) {
    FinishRead(*entry, end.count);
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = lpOverlapped->InternalHigh;
    return 1;
  }
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
  Arm(lpOverlapped->hEvent, hFile);
  return Fail(ERROR_IO_PENDING);
}

BOOL WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
               DWORD* lpNumberOfBytesWritten, OVERLAPPED* lpOverlapped) {
  DeviceEntry* entry = OpenDevice(hFile);
  if (entry == nullptr) return 0;
  if (lpOverlapped == nullptr || lpBuffer == nullptr || entry->write.active) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = 0;
  Reset(lpOverlapped->hEvent);
  Refresh(*entry);
  if (entry->device->Broken()) return Fail(ERROR_GEN_FAILURE);
  if (nNumberOfBytesToWrite == 0) {
    lpOverlapped->Internal = STATUS_SUCCESS;
    lpOverlapped->InternalHigh = 0;
    Signal(lpOverlapped->hEvent);
    return 1;
  }
  const Micros now = Now();
  if (!entry->device->Transmit(static_cast<const std::uint8_t*>(lpBuffer), nNumberOfBytesToWrite,
                               now)) {
    return Fail(ERROR_GEN_FAILURE);
  }
  serial::traffic_log::FrameOut(
      std::string_view(static_cast<const char*>(lpBuffer), nNumberOfBytesToWrite), entry->rts, now);
  entry->write = PendingOperation{
      true, lpOverlapped, lpOverlapped->hEvent, nullptr, nNumberOfBytesToWrite, nullptr, now};
  Arm(lpOverlapped->hEvent, hFile);
  return Fail(ERROR_IO_PENDING);
}

DWORD GetLastError() {
  return LastError();
}

void SetLastError(DWORD dwErrCode) {
  LastError() = dwErrCode;
}

HANDLE CreateEventA(void* /*lpEventAttributes*/, BOOL bManualReset, BOOL bInitialState,
                    const char* /*lpName*/) {
  return Handles().AddEvent(bManualReset != 0, bInitialState != 0);
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  const auto signalled = [hHandle]() -> bool {
    EventEntry* event = Handles().Event(hHandle);
    if (event == nullptr) return false;
    if (event->device != 0) {
      if (DeviceEntry* device = Handles().Device(event->device)) Refresh(*device);
      event = Handles().Event(hHandle);
    }
    return event != nullptr && event->signalled;
  };
  const auto consume = [hHandle] {
    EventEntry* event = Handles().Event(hHandle);
    if (!event->manualReset) event->signalled = false;
    return WAIT_OBJECT_0;
  };
  if (Handles().Event(hHandle) == nullptr) {
    LastError() = ERROR_INVALID_HANDLE;
    return WAIT_FAILED;
  }
  if (signalled()) return consume();
  const Micros start = Now();
  while (dwMilliseconds != 0) {
    platform::DoEvents();
    if (Handles().Event(hHandle) == nullptr) return WAIT_FAILED;
    if (signalled()) return consume();
    if (dwMilliseconds != INFINITE && Now() - start >= Micros{dwMilliseconds} * 1000) break;
  }
  return WAIT_TIMEOUT;
}

}  // namespace win32
