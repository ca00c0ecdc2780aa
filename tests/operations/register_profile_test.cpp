// Register profiles: the file format the windows and talvora-cli share, checked whole before
// anything is used, with a message that names what is wrong.

#include "operations/register_profile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
  const char* text;
  const char* message;  // a part of the message
};

class ProfileRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(ProfileRefusal, NamesWhatIsWrong) {
  QString error;
  EXPECT_EQ(Parse(GetParam().text, error), std::nullopt);
  EXPECT_THAT(error.toStdString(), testing::HasSubstr(GetParam().message));
}

#define PROFILE(registers) R"({"talvora": "registers", "version": 1, "registers": )" registers "}"

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileRefusal,
    testing::Values(Refusal{"{\"talvora\": ", "not JSON"},
                    Refusal{R"({"version": 1, "registers": {}})", "not a register profile"},
                    Refusal{R"({"talvora": "profile", "version": 1})", "not a register profile"},
                    Refusal{R"({"talvora": "registers", "registers": {}})",
                            "\"version\" is missing"},
                    Refusal{R"({"talvora": "registers", "version": 2, "registers": {}})",
                            "version 2 is not one this program reads"},
                    Refusal{PROFILE("[1, 2]"), "\"registers\" must be an object"},
                    Refusal{PROFILE(R"({"32": 1})"), "register \"32\" does not exist"},
                    Refusal{PROFILE(R"({"1": 8, "2": 256})"), "register 2: 256 is not a value"},
                    Refusal{PROFILE(R"({"2": "12"})"), "register 2: \"12\" is not a value"}));

}  // namespace
