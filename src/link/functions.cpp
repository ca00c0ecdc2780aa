#include "link/functions.h"

#include <algorithm>
#include <deque>

#include "link/link_constants.h"
#include "platform/event_service.h"
#include "platform/windows.h"
#include "serial/comm_api.h"
#include "serial/device_names.h"
#include "serial/logs/device_notices.h"

namespace functions {

bool ReplyArrivedFlag = false;
std::shared_ptr<dwComm> serial;
std::int32_t lngTimerID = 0;

namespace {

const char kMainWindowStandIn = 0;
dwComm::NotifyObject mainWindow = &kMainWindowStandIn;

// A line-error box runs a modal loop in which poll ticks go on and may find more errors.
// Those wait here and are shown when the tick that opened the first box has finished its
// report, so that a storm of errors shows one box at a time, in the order they were found.
// A message already waiting is not queued twice: a storm leaves at most one box of each kind.
std::deque<std::string> deferredErrors;
bool errorBoxOpen = false;
int pollDepth = 0;
// Cancel on a line-error box silences the boxes until the port is opened again; the errors
// still go to standard error, with the time since the port was opened.
bool errorBoxesSilenced = false;
platform::Micros openedAt = 0;
// The port as the lines on standard error name it, found at the first of them.
std::string openedWho;

void WriteErrorToStandardError(const std::string& message) {
  const double seconds = static_cast<double>(platform::Events().NowMicros() - openedAt) / 1e6;
  if (openedWho.empty()) {
    const std::string port = serial ? serial->devicename() : std::string("port");
    openedWho = serial::PortWho(port, win32::ResolveDeviceName(port).device);
  }
  serial::SayAboutPort(openedWho, seconds, "line error", message);
}

void ShowErrorBox(const std::string& message) {
  errorBoxOpen = true;
  struct Closed {
    ~Closed() { errorBoxOpen = false; }
  } closed;
  const std::int32_t pressed = platform::MessageBoxA(0, message, kLineErrorTitle,
                                                     platform::MB_OKCANCEL | platform::MB_ICONSTOP);
  if (pressed == platform::IDCANCEL) {
    errorBoxesSilenced = true;
    deferredErrors.clear();
  }
}

void ShowDeferredErrors() {
  while (!deferredErrors.empty() && !errorBoxOpen) {
    const std::string next = deferredErrors.front();
    deferredErrors.pop_front();
    ShowErrorBox(next);
  }
}

// Removes leading and trailing blanks (character 32 only).
std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// Raises RTS and waits the lead without dispatching anything, so no poll tick can drop RTS
// before the frame is handed over.
void KeyUp(std::chrono::milliseconds lead) {
  if (!serial) return;
  const std::uint32_t t0 = platform::timeGetTime();
  win32::EscapeCommFunction(serial->handle(), win32::SETRTS);
  // The counter has millisecond steps: wait until it has moved past the lead, so that at
  // least the whole lead has passed. Nap between readings rather than spin: while a whole
  // millisecond is still to go, a nap cannot carry the wait past its end; in the last one the
  // naps are short, so the wait ends within a tenth of a millisecond of the counter's step.
  const auto leadMs = static_cast<std::uint32_t>(lead.count());
  for (std::uint32_t waited = 0; waited <= leadMs;
       waited = static_cast<std::uint32_t>(platform::timeGetTime() - t0)) {
    platform::Events().Nap((waited < leadMs ? kLeadNap : kLeadLastNap).count());
  }
}

}  // namespace

void SetMainWindow(dwComm::NotifyObject window) {
  mainWindow = window != nullptr ? window : &kMainWindowStandIn;
}

void OpenSerial(const std::string& PortName) {
  errorBoxesSilenced = false;
  deferredErrors.clear();
  openedAt = platform::Events().NowMicros();
  openedWho.clear();
  lngTimerID = static_cast<std::int32_t>(
      platform::SetTimer(0, 0, static_cast<std::uint32_t>(kPollPeriod.count()), &PollTimerProc));
  if (!serial) {
    serial = std::make_shared<dwComm>();
    serial->OpenComm(PortName, mainWindow);
  } else if (serial->devicename() != PortName) {
    serial = std::make_shared<dwComm>();  // releasing the old object closes its device
    serial->OpenComm(PortName, mainWindow);
  }
  const std::shared_ptr<dwDCB> dcb = serial->DCB();
  dcb->BaudRate(kRadioBaudRate);
  dcb->fNull(false);
  dcb->fErrorChar(false);
  dcb->fParity(false);
  dcb->Parity(win32::NOPARITY);
  dcb->fRtsControl(0);  // keeps only the RTS field, which OpenComm left at 0: the word becomes 0
  serial->SetCommState();
}

void PollTimerProc(std::int32_t /*hwnd*/, std::uint32_t /*uMsg*/, std::uintptr_t /*idEvent*/,
                   std::uint32_t /*dwTime*/) {
  // Hold the object for the whole tick: a box opened inside it runs nested ticks.
  const std::shared_ptr<dwComm> port = serial;
  if (!port) return;
  ++pollDepth;
  struct Leave {
    ~Leave() { --pollDepth; }
  } leave;
  port->PollWrite();
  port->PollRead();
  port->PollEvent();
  if (pollDepth == 1) ShowDeferredErrors();
}

void CloseSerial() {
  serial.reset();
  platform::KillTimer(0, static_cast<std::uintptr_t>(lngTimerID));
  lngTimerID = 0;
}

void SetTextWindow(std::int32_t hwnd) {
  if (serial) serial->manigl(hwnd);
}

void SetFirstByteWindow(std::int32_t hwnd) {
  if (serial) serial->manigl2(hwnd);
}

void ShowCommError(const std::string& message) {
  if (errorBoxesSilenced) {
    WriteErrorToStandardError(message);
    return;
  }
  if (errorBoxOpen) {
    if (std::find(deferredErrors.begin(), deferredErrors.end(), message) == deferredErrors.end())
      deferredErrors.push_back(message);
    return;
  }
  ShowErrorBox(message);
}

std::int32_t SendHashCommand(const std::string& text1, const std::string& text2) {
  KeyUp(kHashLead);
  if (lngTimerID == 0 || !serial) return 0;
  serial->CommOutput("#" + TrimBlanks(text1) + text2);
  return 1;
}

std::int32_t SendDollarCommand(const std::string& text) {
  KeyUp(kDollarLead);
  if (lngTimerID == 0 || !serial) return 0;
  serial->CommOutput("$" + TrimBlanks(text));
  return 1;
}

void SendPlain(const std::string& prefix, std::string& text) {
  if (lngTimerID == 0 || !serial) return;
  text = prefix + text;
  serial->CommOutput(text);
}

bool PortOpen() {
  return serial != nullptr;
}

bool ReplyArrived() {
  // A flag left set by a port that has since been closed announces nothing to take.
  return serial && ReplyArrivedFlag;
}

std::string TakeReply() {
  return serial ? serial->EL_D() : std::string();
}

}  // namespace functions
