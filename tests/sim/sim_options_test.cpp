// The options of the simulated radio system.

#include <gtest/gtest.h>

#include <tuple>

#include "serial/win32_types.h"
#include "sim/options.h"

namespace {

TEST(SimOptions, ReadsEveryKeyOverTheDefaults) {
  std::string error;
  const auto defaults = sim::ParseOptions("", error);
  ASSERT_TRUE(defaults) << error;
  EXPECT_EQ(defaults->host, 0);
  EXPECT_EQ(defaults->remotes, std::vector<std::uint8_t>{1});

  const auto options = sim::ParseOptions(
      "host=7, remotes=0+5+0x1F,radio=30,host-delay=1.5,loss=0.2,seed=42,silent,"
      "error=frame+parity@250/1000,error=break+overrun+rxover+txfull@40,",
      error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(std::tuple(options->host, options->radioDelay, options->hostDelay, options->seed,
                       options->silentHost),
            std::tuple(7, 30000, 1500, 42u, true));
  EXPECT_EQ(options->remotes, (std::vector<std::uint8_t>{0, 5, 31}));
  EXPECT_DOUBLE_EQ(options->loss, 0.2);
  ASSERT_EQ(options->lineErrors.size(), 2u);
  EXPECT_EQ(options->lineErrors[0].flags, win32::CE_FRAME | win32::CE_RXPARITY);
  EXPECT_EQ(options->lineErrors[0].at, 250000);
  EXPECT_EQ(options->lineErrors[0].period, 1000000);
  EXPECT_EQ(options->lineErrors[1].flags,
            win32::CE_BREAK | win32::CE_OVERRUN | win32::CE_RXOVER | win32::CE_TXFULL);

  const auto swapping = sim::ParseOptions("swap=2.5,swap-gap=800,stuck=3+0x1f", error);
  ASSERT_TRUE(swapping) << error;
  EXPECT_EQ(std::tuple(swapping->swapPeriod, swapping->swapGap, swapping->stuck),
            std::tuple(2500000, 800000, std::vector<std::uint8_t>{3, 31}));
  EXPECT_EQ(defaults->swapPeriod, 0);

  // talvora-sim takes them as several arguments, later ones on top of earlier ones.
  sim::Options layered = *options;
  ASSERT_TRUE(sim::ApplyOptions("silent=no,remotes=none", layered, error)) << error;
  EXPECT_EQ(std::tuple(layered.silentHost, layered.remotes.size(), layered.host),
            std::tuple(false, 0u, 7));
}

TEST(SimOptions, WrongOptionsAreRefusedWithAnErrorThatNamesTheProblem) {
  const std::pair<const char*, const char*> rows[] = {
      {"host=7,bogus", "unknown option 'bogus'"},
      {"loss=1.5", "loss must be between 0 and 1"},
      {"host=256", "host must be an address from 0 to 255"},
      {"host", "option 'host' needs a value"},
      {"remotes=3+3", "remote address 3 is listed twice"},
      {"error=smoke@10", "error must be KIND[+KIND]@MS[/PERIOD]"},
      {"error=frame@10/0", "the period of a repeated line error must be at least 1 ms"},
      {"swap=0.5", "swap must be a number of seconds from 1 to 86400"},
      {"swap=ten", "swap must be a number of seconds"},
      {"swap-gap=-1", "swap-gap must be a number of milliseconds"},
      {"stuck=32", "stuck must be registers from 0 to 31"},
      {"stuck=3+x", "stuck must be registers from 0 to 31"},
  };
  for (const auto& [text, expected] : rows) {
    std::string error;
    EXPECT_FALSE(sim::ParseOptions(text, error)) << text;
    EXPECT_NE(error.find(expected), std::string::npos) << text << " gave: " << error;
  }
}

}  // namespace
