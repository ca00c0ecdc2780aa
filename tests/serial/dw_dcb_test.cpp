// The settings record: validation of each property and the flag-word arithmetic, including
// what the two control-field setters do to the other bits.

#include "serial/dw_dcb.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/app_error.h"
#include "serial/dw_comm.h"

namespace {

std::string RejectionOf(const std::function<void()>& set) {
  try {
    set();
  } catch (const platform::AppError& error) {
    EXPECT_EQ(error.Number(), 0x80047918u);
    EXPECT_EQ(error.Source(), "dwDCB");
    return error.Description();
  }
  return "accepted";
}

TEST(DwDcbTest, AFreshRecordHoldsTheCreationDefaults) {
  dwDCB dcb;
  const win32::DCB& record = dcb.Record();
  EXPECT_EQ(record.DCBlength, 28u);
  EXPECT_EQ(dcb.BaudRate(), 9600);
  EXPECT_EQ(dcb.FlagWord(), 0u) << "the control-field setters clear the booleans set before";
  EXPECT_EQ(dcb.XonLim(), 100);
  EXPECT_EQ(dcb.XoffLim(), 1948);
  EXPECT_EQ(dcb.ByteSize(), 8);
  EXPECT_EQ(dcb.Parity(), 1);
  EXPECT_EQ(dcb.StopBits(), 0);
  EXPECT_EQ(dcb.XonChar(), "\x11");
  EXPECT_EQ(dcb.XoffChar(), "\x13");
  EXPECT_EQ(dcb.ErrorChar(), "~");
  EXPECT_EQ(dcb.EofChar(), "\x1a");
  EXPECT_EQ(dcb.EvtChar(), "\xff");
  EXPECT_EQ(record.wReserved, 0);
  EXPECT_EQ(record.wReserved1, 0);
}

struct Rejection {
  const char* name;
  std::function<void(dwDCB&)> set;
  const char* description;  // "accepted" when the value is valid
};

class DwDcbValidation : public testing::TestWithParam<Rejection> {};

TEST_P(DwDcbValidation, RejectsOutOfRangeValuesAndKeepsTheOldOne) {
  dwDCB dcb;
  const win32::DCB before = dcb.Record();
  const std::string outcome = RejectionOf([&] { GetParam().set(dcb); });
  EXPECT_EQ(outcome, GetParam().description);
  if (outcome != "accepted") {
    EXPECT_EQ(std::memcmp(&before, &dcb.Record(), sizeof before), 0) << "record changed";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Properties, DwDcbValidation,
    testing::Values(
        Rejection{"Dtr2", [](dwDCB& d) { d.fDtrControl(2); }, "accepted"},
        Rejection{"Dtr3", [](dwDCB& d) { d.fDtrControl(3); }, "Invalid fDtrControl setting"},
        Rejection{"DtrMinus1", [](dwDCB& d) { d.fDtrControl(-1); }, "Invalid fDtrControl setting"},
        Rejection{"Rts3", [](dwDCB& d) { d.fRtsControl(3); }, "accepted"},
        Rejection{"Rts4", [](dwDCB& d) { d.fRtsControl(4); }, "Invalid fRtsControl setting"},
        Rejection{"ByteSize4", [](dwDCB& d) { d.ByteSize(4); }, "accepted"},
        Rejection{"ByteSize8", [](dwDCB& d) { d.ByteSize(8); }, "accepted"},
        Rejection{"ByteSize3", [](dwDCB& d) { d.ByteSize(3); }, "Invalid Byte size setting"},
        Rejection{"ByteSize9", [](dwDCB& d) { d.ByteSize(9); }, "Invalid Byte size setting"},
        Rejection{"Parity4", [](dwDCB& d) { d.Parity(4); }, "accepted"},
        Rejection{"Parity5", [](dwDCB& d) { d.Parity(5); }, "Invalid Parity setting"},
        Rejection{"StopBits3", [](dwDCB& d) { d.StopBits(3); }, "accepted"},
        Rejection{"StopBits5", [](dwDCB& d) { d.StopBits(5); }, "Invalid Stop bits"}),
    [](const testing::TestParamInfo<Rejection>& info) { return std::string(info.param.name); });

TEST(DwDcbTest, TakesTheFifteenRatesOfTheSerialDriverAndNoOther) {
  for (const std::int32_t rate : {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000,
                                  57600, 115200, 128000, 256000}) {
    dwDCB dcb;
    EXPECT_EQ(RejectionOf([&] { dcb.BaudRate(rate); }), "accepted") << rate;
    EXPECT_EQ(dcb.BaudRate(), rate);
  }
  for (const std::int32_t rate : {12800, 9601, 230400, 0})
    EXPECT_EQ(RejectionOf([rate] { dwDCB().BaudRate(rate); }), "Invalid baud rate") << rate;
}

TEST(DwDcbTest, ControlFieldSettersKeepOnlyTheirOwnOldBits) {
  // Build a flag word bit by bit through the public setters, then apply a control field.
  dwDCB dcb;
  dcb.fParity(true);          // 0x0002
  dcb.fDsrSensitivity(true);  // 0x0040
  dcb.fTXContinueOnXoff(true);
  dcb.fErrorChar(true);  // 0x0400
  ASSERT_EQ(dcb.FlagWord(), 0x04C2u);
  dcb.fRtsControl(0);
  EXPECT_EQ(dcb.FlagWord(), 0u);

  dcb.fRtsControl(1);  // 0x1000
  dcb.fParity(true);
  dcb.fOutX(true);
  ASSERT_EQ(dcb.FlagWord(), 0x1102u);
  dcb.fRtsControl(0);
  EXPECT_EQ(dcb.FlagWord(), 0x1000u) << "setting 0 keeps the field's old value";
  dcb.fRtsControl(2);
  EXPECT_EQ(dcb.fRtsControl(), 3) << "old and new bits are ORed";

  dcb.fDtrControl(1);
  EXPECT_EQ(dcb.FlagWord(), 0x0010u) << "the DTR setter clears the RTS field as well";
  EXPECT_EQ(dcb.fDtrControl(), 1);
  dcb.fDtrControl(2);
  EXPECT_EQ(dcb.fDtrControl(), 3);
}

TEST(DwDcbTest, AClosedDeviceNeitherGivesNorTakesTheRecord) {
  dwDCB dcb;
  dwComm closed;
  dcb.BaudRate(19200);
  EXPECT_FALSE(dcb.GetCommState(closed));
  EXPECT_EQ(dcb.BaudRate(), 19200) << "unchanged when the device is closed";
  EXPECT_FALSE(dcb.SetCommState(closed));
}

TEST(DwDcbTest, CharacterPropertiesTakeTheFirstCharacterAndIgnoreAnEmptyText) {
  dwDCB dcb;
  dcb.XonChar("Qx");
  EXPECT_EQ(dcb.XonChar(), "Q");
  dcb.EvtChar(std::string(1, '\0'));
  EXPECT_EQ(dcb.EvtChar(), std::string(1, '\0'));
  dcb.ErrorChar("");
  EXPECT_EQ(dcb.ErrorChar(), "~");
}

}  // namespace
