// The settings record: each property's validation and the flag-word arithmetic.

#include "serial/dw_dcb.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/app_error.h"
#include "serial/dw_comm.h"

namespace {

// "accepted", or the description of the error raised; a rejected value leaves the record as
// it was.
std::string Outcome(const std::function<void(dwDCB&)>& set) {
  dwDCB dcb;
  const win32::DCB before = dcb.Record();
  try {
    set(dcb);
  } catch (const platform::AppError& error) {
    EXPECT_EQ(error.Number(), 0x80047918u);
    EXPECT_EQ(error.Source(), "dwDCB");
    EXPECT_EQ(std::memcmp(&before, &dcb.Record(), sizeof before), 0) << "record changed";
    return error.Description();
  }
  return "accepted";
}

TEST(DwDcbTest, TakesTheFifteenRatesOfTheSerialDriverAndNoOther) {
  for (const std::int32_t rate : {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000,
                                  57600, 115200, 128000, 256000}) {
    EXPECT_EQ(Outcome([rate](dwDCB& d) {
                d.BaudRate(rate);
                EXPECT_EQ(d.BaudRate(), rate);
              }),
              "accepted");
  }
  for (const std::int32_t rate : {12800, 9601, 230400, 0})
    EXPECT_EQ(Outcome([rate](dwDCB& d) { d.BaudRate(rate); }), "Invalid baud rate") << rate;
}

TEST(DwDcbTest, RejectsOutOfRangeValuesAndKeepsTheOldOne) {
  const std::pair<std::function<void(dwDCB&)>, const char*> rows[] = {
      {[](dwDCB& d) { d.fDtrControl(2); }, "accepted"},
      {[](dwDCB& d) { d.fDtrControl(3); }, "Invalid fDtrControl setting"},
      {[](dwDCB& d) { d.fRtsControl(4); }, "Invalid fRtsControl setting"},
      {[](dwDCB& d) { d.ByteSize(4); }, "accepted"},
      {[](dwDCB& d) { d.ByteSize(3); }, "Invalid Byte size setting"},
      {[](dwDCB& d) { d.ByteSize(9); }, "Invalid Byte size setting"},
      {[](dwDCB& d) { d.Parity(4); }, "accepted"},
      {[](dwDCB& d) { d.Parity(5); }, "Invalid Parity setting"},
      {[](dwDCB& d) { d.StopBits(3); }, "accepted"},
      {[](dwDCB& d) { d.StopBits(5); }, "Invalid Stop bits"}};
  for (std::size_t row = 0; row < std::size(rows); ++row)
    EXPECT_EQ(Outcome(rows[row].first), rows[row].second) << "row " << row;
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

}  // namespace
