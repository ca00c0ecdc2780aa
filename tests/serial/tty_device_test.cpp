#include "serial/tty/tty_device.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "pty_fixture.h"
#include "serial/tty/tty_settings.h"

namespace serial {
namespace {

using platform::Micros;
namespace flags = dcb_flags;

DCB Record(DWORD baud, std::uint8_t bits, std::uint8_t parity, std::uint8_t stop, DWORD more) {
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = baud;
  dcb.Flags = flags::fBinary | more;
  dcb.ByteSize = bits;
  dcb.Parity = parity;
  dcb.StopBits = stop;
  dcb.XonChar = 17;
  dcb.XoffChar = 19;
  return dcb;
}

// Every field, so that a mismatch shows which one.
std::string Fields(const DCB& d) {
  char text[160];
  std::snprintf(text, sizeof text,
                "len %u baud %u flags %#x res %u/%u lim %u/%u frame %u%u%u "
                "chars %u %u %u %u %u",
                d.DCBlength, d.BaudRate, d.Flags, d.wReserved, d.wReserved1, d.XonLim, d.XoffLim,
                d.ByteSize, d.Parity, d.StopBits, d.XonChar, d.XoffChar, d.ErrorChar, d.EofChar,
                d.EvtChar);
  return text;
}

// What an interactive terminal leaves behind: echo, line editing, CR/LF translation, no HUPCL.
termios CookedTerminal() {
  termios tio{};
  tio.c_iflag = ICRNL | IXON | ISTRIP;
  tio.c_oflag = OPOST | ONLCR;
  tio.c_cflag = CS7 | PARENB | B38400;
  tio.c_lflag = ECHO | ICANON | ISIG;
  tio.c_cc[VMIN] = 1;
  return tio;
}

// Each frame as a UART driver must see it in termios, and back from termios to the record.
TEST(TtySettings, RecordMapsOntoTermiosAndBack) {
  constexpr tcflag_t kFrame = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
  constexpr tcflag_t kInput = INPCK | IXON | IXOFF;
  constexpr speed_t kExact = CBAUDEX;  // the kernel's code for a rate given as a number
  const struct Row {
    DCB dcb;
    tcflag_t frame, input;
    speed_t speed;
  } rows[] = {
      {Record(9600, 8, NOPARITY, ONESTOPBIT, 0), CS8, 0, B9600},
      {Record(9600, 8, ODDPARITY, ONESTOPBIT, flags::fParity), CS8 | PARENB | PARODD, INPCK, B9600},
      {Record(19200, 7, EVENPARITY, TWOSTOPBITS, 0), CS7 | PARENB | CSTOPB, 0, B19200},
      {Record(2400, 7, MARKPARITY, ONESTOPBIT, 0), CS7 | PARENB | PARODD | CMSPAR, 0, B2400},
      {Record(57600, 8, NOPARITY, ONESTOPBIT, flags::fOutxCtsFlow), CS8 | CRTSCTS, 0, B57600},
      {Record(115200, 8, NOPARITY, ONESTOPBIT, flags::fOutX), CS8, IXON, B115200},
      {Record(14400, 8, NOPARITY, ONESTOPBIT, 0), CS8, 0, kExact},
      {Record(256000, 8, NOPARITY, ONESTOPBIT, 0), CS8, 0, kExact},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Fields(row.dcb));
    const termios tio = TermiosFromDcb(row.dcb, CookedTerminal());
    EXPECT_EQ(tio.c_cflag & kFrame, row.frame);
    EXPECT_EQ(tio.c_iflag & kInput, row.input);
    EXPECT_EQ(cfgetospeed(&tio), row.speed);
    EXPECT_TRUE(row.speed != kExact || tio.c_ospeed == row.dcb.BaudRate);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD | HUPCL), CLOCAL | CREAD | HUPCL);

    // Read back against a stale record: every mapped field has to come from termios.
    DCB stale = row.dcb;
    stale.BaudRate = 110;
    stale.ByteSize = 6;
    stale.Parity = EVENPARITY;
    stale.Flags ^= flags::fParity | flags::fOutxCtsFlow | flags::fOutX | flags::fInX;
    stale.wReserved = 0xBEEF;
    EXPECT_EQ(Fields(DcbFromTermios(tio, stale)), Fields(row.dcb));
  }
}

// The device through a real pseudo-terminal; the test holds the other side.
class TtyDeviceTest : public PtyTest {
 protected:
  void SetUp() override {
    PtyTest::SetUp();
    Open();
  }

  std::string ReadOtherSide(std::size_t count) {
    std::string got;
    Until([&] {
      char buffer[4096];
      pollfd p{master_, POLLIN, 0};
      const ssize_t n = ::poll(&p, 1, 1) > 0 ? ::read(master_, buffer, sizeof buffer) : 0;
      if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
      return got.size() >= count;
    });
    return got;
  }
  void WriteOtherSide(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  bool Transmit(const std::string& bytes) {
    return device_->Transmit(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 0);
  }
  std::string TakeInput() {
    std::string bytes(device_->Input().Size(), '\0');
    device_->Input().Take(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    return bytes;
  }
};

TEST_F(TtyDeviceTest, BytesCrossBothWaysUntranslatedAndUnechoed) {
  const std::string out("\x24\x03 line\n\r\x00\xff\x11\x13", 12);
  ASSERT_TRUE(Transmit(out));
  EXPECT_EQ(ReadOtherSide(out.size()), out);
  EXPECT_TRUE(device_->TransmitDone(0));

  // Without Advance: the event loop alone has to take the bytes in, with their arrival time.
  const std::string in("\x5a\r\n\x00\x11\x13\x03", 7);
  const Micros before = platform::Events().NowMicros();
  WriteOtherSide(in);
  ASSERT_TRUE(Until([&] { return device_->Input().Size() == in.size(); }, false));
  const Micros after = platform::Events().NowMicros();
  EXPECT_EQ(device_->Input().ArrivedBy(before - 1), 0u);
  EXPECT_EQ(device_->Input().ArrivedBy(after), in.size());
  EXPECT_EQ(TakeInput(), in);
  pollfd p{master_, POLLIN, 0};
  EXPECT_EQ(::poll(&p, 1, 20), 0) << "received bytes went back onto the line";
}

TEST_F(TtyDeviceTest, WhatTheKernelCannotTakeGoesOutLaterInOrder) {
  std::string block(std::size_t{256} * 1024, '\0');
  for (std::size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<char>(i * 7 + i / 251);
  ASSERT_TRUE(Transmit(block));
  EXPECT_FALSE(device_->TransmitDone(0));
  EXPECT_TRUE(ReadOtherSide(block.size()) == block) << "bytes lost or reordered";
  EXPECT_TRUE(device_->TransmitDone(0));
}

TEST_F(TtyDeviceTest, FullInputQueueDropsBytesAndSaysSo) {
  device_->SetQueueSizes(16, 16);
  WriteOtherSide("0123456789abcdefGHIJKLMNOP");
  ASSERT_TRUE(Until([&] { return device_->Input().Size() == 16; }));
  Until([] { return false; }, true, std::chrono::milliseconds(50));  // and nothing more
  EXPECT_EQ(TakeInput(), "0123456789abcdef");
  EXPECT_EQ(device_->TakeLineErrors(), CE_RXOVER);
  EXPECT_EQ(device_->TakeLineErrors(), 0u) << "taking the errors clears them";
}

TEST_F(TtyDeviceTest, OpenIsExclusive) {
  OpenFailure failure;
  EXPECT_EQ(OpenTtyDevice("", path_, failure), nullptr);
  EXPECT_EQ(failure.error, win32::ERROR_SHARING_VIOLATION);
  device_.reset();

  // Root passes TIOCEXCL; the lock is what keeps another program out.
  const int other = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(OpenTtyDevice("", path_, failure), nullptr);
  EXPECT_EQ(failure.error, win32::ERROR_SHARING_VIOLATION);
  EXPECT_EQ(failure.reason, "in use by another program");
  ::close(other);
  device_ = OpenTtyDevice("", path_, failure);
  EXPECT_NE(device_, nullptr) << failure.reason;
}

}  // namespace
}  // namespace serial
