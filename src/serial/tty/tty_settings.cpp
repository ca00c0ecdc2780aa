#include "serial/tty/tty_settings.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace serial {
namespace {

namespace flags = dcb_flags;

constexpr std::array<std::pair<DWORD, speed_t>, 30> kSpeeds = {{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

// Rates with no speed constant (14400, 56000, 128000, 256000 among the program's own) are set
// exactly rather than rounded to a neighbour, which would garble every byte: the speed field
// then holds the kernel's "other" code and c_ispeed/c_ospeed the rate, written and read through
// the kernel's termios2 calls, and the driver picks its nearest divisor.
constexpr tcflag_t kOtherSpeed = CBAUDEX;

// The kernel's termios2 as x86, Arm and RISC-V lay it out; glibc's <termios.h> cannot be
// combined with the kernel header that declares it.
#if defined(__powerpc__) || defined(__mips__) || defined(__sparc__) || defined(__alpha__)
#error "termios2 has a different layout on this architecture"
#endif
struct termios2 {
  tcflag_t c_iflag;
  tcflag_t c_oflag;
  tcflag_t c_cflag;
  tcflag_t c_lflag;
  cc_t c_line;
  cc_t c_cc[19];
  speed_t c_ispeed;
  speed_t c_ospeed;
};

constexpr tcflag_t kFrameBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
constexpr tcflag_t kSpeedBits = CBAUD | CIBAUD;

bool IsOtherSpeed(const termios& tio) {
  return (tio.c_cflag & CBAUD) == kOtherSpeed;
}

tcflag_t SizeBits(std::uint8_t byteSize) {
  switch (byteSize) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

std::uint8_t ByteSizeOf(tcflag_t cflag) {
  switch (cflag & CSIZE) {
    case CS5:
      return 5;
    case CS6:
      return 6;
    case CS7:
      return 7;
    default:
      return 8;
  }
}

tcflag_t ParityBits(std::uint8_t parity) {
  switch (parity) {
    case ODDPARITY:
      return PARENB | PARODD;
    case EVENPARITY:
      return PARENB;
    case MARKPARITY:
      return PARENB | CMSPAR | PARODD;
    case SPACEPARITY:
      return PARENB | CMSPAR;
    default:
      return 0;
  }
}

std::uint8_t ParityOf(tcflag_t cflag) {
  if ((cflag & PARENB) == 0) return NOPARITY;
  const bool odd = (cflag & PARODD) != 0;
  if ((cflag & CMSPAR) != 0) return odd ? MARKPARITY : SPACEPARITY;
  return odd ? ODDPARITY : EVENPARITY;
}

DWORD BaudOf(const termios& tio, DWORD fallback) {
  if (IsOtherSpeed(tio)) return tio.c_ospeed;
  const speed_t code = tio.c_cflag & CBAUD;
  const auto* it = std::find_if(kSpeeds.begin(), kSpeeds.end(),
                                [code](const auto& entry) { return entry.second == code; });
  return it == kSpeeds.end() ? fallback : it->first;
}

}  // namespace

bool TtyCanCarry(const DCB& dcb) {
  // Four-bit frames are refused: no UART behind termios can send them.
  return dcb.BaudRate > 0 && dcb.ByteSize >= 5 && dcb.ByteSize <= 8 && dcb.Parity <= SPACEPARITY &&
         dcb.StopBits <= TWOSTOPBITS;
}

std::optional<speed_t> StandardSpeed(DWORD baud) {
  const auto* it = std::find_if(kSpeeds.begin(), kSpeeds.end(),
                                [baud](const auto& entry) { return entry.first == baud; });
  if (it == kSpeeds.end()) return std::nullopt;
  return it->second;
}

termios TermiosFromDcb(const DCB& dcb, const termios& base) {
  termios tio = base;
  // Raw bytes both ways: no echo back to the radio, no line editing, no translation, no signals.
  tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON |
                   IXANY | IXOFF | IMAXBEL | INPCK);
  tio.c_oflag &= ~OPOST;
  tio.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag &= ~kFrameBits;
  // HUPCL drops DTR and RTS when the device is closed, even by a crash: the radio unkeys.
  tio.c_cflag |= CLOCAL | CREAD | HUPCL | SizeBits(dcb.ByteSize) | ParityBits(dcb.Parity);
  if (dcb.StopBits != ONESTOPBIT) tio.c_cflag |= CSTOPB;
  if ((dcb.Flags & flags::fOutxCtsFlow) != 0) tio.c_cflag |= CRTSCTS;
  if ((dcb.Flags & flags::fParity) != 0) tio.c_iflag |= INPCK;
  if ((dcb.Flags & flags::fOutX) != 0) tio.c_iflag |= IXON;
  if ((dcb.Flags & flags::fInX) != 0) tio.c_iflag |= IXOFF;
  tio.c_cc[VSTART] = dcb.XonChar;
  tio.c_cc[VSTOP] = dcb.XoffChar;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;

  if (const auto speed = StandardSpeed(dcb.BaudRate)) {
    cfsetispeed(&tio, *speed);
    cfsetospeed(&tio, *speed);
    tio.c_cflag &= ~CIBAUD;
  } else {
    tio.c_cflag = (tio.c_cflag & ~kSpeedBits) | kOtherSpeed;
    tio.c_ispeed = dcb.BaudRate;
    tio.c_ospeed = dcb.BaudRate;
  }
  return tio;
}

DCB DcbFromTermios(const termios& tio, const DCB& applied) {
  DCB dcb = applied;
  dcb.DCBlength = sizeof(DCB);
  dcb.wReserved = 0;
  dcb.wReserved1 = 0;
  dcb.BaudRate = BaudOf(tio, applied.BaudRate);
  dcb.ByteSize = ByteSizeOf(tio.c_cflag);
  dcb.Parity = ParityOf(tio.c_cflag);
  // One termios bit stands for both 1.5 and 2 stop bits; the record says which was meant.
  if ((tio.c_cflag & CSTOPB) == 0) {
    dcb.StopBits = ONESTOPBIT;
  } else {
    dcb.StopBits = applied.StopBits == ONE5STOPBITS ? ONE5STOPBITS : TWOSTOPBITS;
  }

  constexpr DWORD kFromTermios = flags::fParity | flags::fOutxCtsFlow | flags::fOutX | flags::fInX;
  constexpr DWORD kDefinedBits = (flags::fAbortOnError << 1) - 1;  // the rest is reserved
  DWORD bits = (applied.Flags & kDefinedBits & ~kFromTermios) | flags::fBinary;
  if ((tio.c_iflag & INPCK) != 0) bits |= flags::fParity;
  if ((tio.c_cflag & CRTSCTS) != 0) bits |= flags::fOutxCtsFlow;
  if ((tio.c_iflag & IXON) != 0) bits |= flags::fOutX;
  if ((tio.c_iflag & IXOFF) != 0) bits |= flags::fInX;
  dcb.Flags = bits;
  dcb.XonChar = tio.c_cc[VSTART];
  dcb.XoffChar = tio.c_cc[VSTOP];
  return dcb;
}

platform::Micros FrameDuration(const DCB& dcb) {
  if (dcb.BaudRate == 0) return 0;
  // Counted in half bits, for 1.5 stop bits.
  const int stopHalves = dcb.StopBits == ONESTOPBIT ? 2 : dcb.StopBits == ONE5STOPBITS ? 3 : 4;
  const int halves = 2 * (1 + dcb.ByteSize + (dcb.Parity == NOPARITY ? 0 : 1)) + stopHalves;
  const platform::Micros perSecond = 2 * static_cast<platform::Micros>(dcb.BaudRate);
  return (static_cast<platform::Micros>(halves) * 1'000'000 + perSecond / 2) / perSecond;
}

int ReadTtySettings(int fd, termios& tio) {
  if (tcgetattr(fd, &tio) != 0) return -1;
  if (!IsOtherSpeed(tio)) return 0;
  termios2 kernel{};
  if (ioctl(fd, TCGETS2, &kernel) != 0) return -1;
  tio.c_ispeed = kernel.c_ispeed;
  tio.c_ospeed = kernel.c_ospeed;
  return 0;
}

int WriteTtySettings(int fd, const termios& tio) {
  if (!IsOtherSpeed(tio)) return tcsetattr(fd, TCSANOW, &tio);
  // One call carries flags and rate together, so the line never runs at a stale rate.
  termios2 kernel{};
  if (ioctl(fd, TCGETS2, &kernel) != 0) return -1;
  kernel.c_iflag = tio.c_iflag;
  kernel.c_oflag = tio.c_oflag;
  kernel.c_cflag = tio.c_cflag;
  kernel.c_lflag = tio.c_lflag;
  kernel.c_line = tio.c_line;
  std::memcpy(kernel.c_cc, tio.c_cc, sizeof(kernel.c_cc));
  kernel.c_ispeed = tio.c_ispeed;
  kernel.c_ospeed = tio.c_ospeed;
  return ioctl(fd, TCSETS2, &kernel);
}

}  // namespace serial
