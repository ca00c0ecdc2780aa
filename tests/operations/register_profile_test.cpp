// Register profiles: the file format the windows and talvora-cli share, checked whole before
// anything is used, with a message that names what is wrong.

#include "operations/register_profile.h"

#include <gmock/gmock.h>

namespace {

using operations::ParseProfile;
using operations::RegisterProfile;

std::optional<RegisterProfile> Parse(const char* text, QString& error) {
  return ParseProfile(QByteArray(text), error);
}

TEST(RegisterProfile, ReadsWhatItWrites) {
  const RegisterProfile profile{{0, 0}, {3, 17}, {31, 255}};
  QString error;
  EXPECT_EQ(ParseProfile(operations::ProfileText(profile), error), profile);
  EXPECT_EQ(
      Parse(R"({"talvora": "registers", "version": 1, "registers": {"1": 8, "3": 0}})", error),
      (RegisterProfile{{1, 8}, {3, 0}}));
}

struct Refusal {
  QByteArray text;
  const char* message;  // a part of the message
  friend void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.text.left(80).toStdString();
  }
};

class ProfileRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(ProfileRefusal, NamesWhatIsWrong) {
  QString error;
  EXPECT_EQ(ParseProfile(GetParam().text, error), std::nullopt);
  EXPECT_THAT(error.toStdString(), testing::HasSubstr(GetParam().message));
}

#define PROFILE(registers) R"({"talvora": "registers", "version": 1, "registers": )" registers "}"

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileRefusal,
    testing::Values(
        Refusal{"{\"talvora\": ", "not JSON"},
        Refusal{R"({"version": 1, "registers": {}})", "not a register profile"},
        Refusal{R"({"talvora": "profile", "version": 1})", "not a register profile"},
        Refusal{R"({"talvora": "registers", "registers": {}})", "\"version\" is missing"},
        Refusal{R"({"talvora": "registers", "version": 2, "registers": {}})",
                "version 2 is not one this program reads"},
        Refusal{PROFILE("[1, 2]"), "\"registers\" must be an object"},
        Refusal{PROFILE(R"({"32": 1})"), "register \"32\" does not exist"},
        Refusal{PROFILE(R"({"1": 8, "2": 256})"), "register 2: 256 is not a value"},
        Refusal{PROFILE(R"({"2": "12"})"), "register 2: \"12\" is not a value"},
        Refusal{PROFILE(R"({"0": 1, "0": 2})"), "\"0\" is given twice in \"registers\""},
        Refusal{PROFILE(R"({"0": 1, "\u0030": 2})"), "\"0\" is given twice"},
        Refusal{PROFILE(R"({"1": 1}, "registers": {"0": 0})"), "\"registers\" is given twice"},
        Refusal{PROFILE(R"({"1": 7.5})"), "7.5 is not a whole number"},
        Refusal{PROFILE(R"({"3": 5555550017})"), "register 3: 5555550017 is not a value"},
        Refusal{PROFILE(R"({"1": 1e2})"), "1e2 is not a whole number"},
        Refusal{PROFILE(R"({"03": 1})"), "register \"03\" does not exist"},
        Refusal{PROFILE(R"({"+3": 1})"), "register \"+3\" does not exist"},
        Refusal{PROFILE(R"({"0x3": 1})"), "register \"0x3\" does not exist"},
        Refusal{QByteArray(PROFILE(R"({"0": 1})")) + QByteArray("\0{\"0\": 5}", 9),
                "a NUL byte at byte 62"},
        Refusal{PROFILE(R"({"0": 1})") + QByteArray(1 << 20, ' '), "larger than 1048576 bytes"}));

}  // namespace
