#include "sim/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <set>

#include "serial/win32_types.h"

namespace sim {
namespace {

constexpr double kMaxDelayMs = 60'000;
constexpr double kMaxErrorTimeMs = 24.0 * 3600 * 1000;

struct ErrorName {
  std::string_view name;
  std::uint32_t flag;
};
constexpr std::array<ErrorName, 6> kErrorNames{{{"frame", win32::CE_FRAME},
                                                {"overrun", win32::CE_OVERRUN},
                                                {"parity", win32::CE_RXPARITY},
                                                {"break", win32::CE_BREAK},
                                                {"rxover", win32::CE_RXOVER},
                                                {"txfull", win32::CE_TXFULL}}};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto at = text.find(separator);
    parts.push_back(Trim(text.substr(0, at)));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

// The text as typed, with control bytes written as \xNN: a message must never carry a
// terminal's escape sequence back to the terminal.
std::string Quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      quoted += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0xf];
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Decimal, or hexadecimal after "0x".
std::optional<std::uint8_t> ParseAddress(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 255) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(value);
}

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<Micros> ParseMillis(std::string_view text, double max) {
  const auto ms = ParseNumber(text);
  if (!ms || *ms < 0 || *ms > max) return std::nullopt;
  return static_cast<Micros>(std::llround(*ms * 1000));
}

bool ParseRemotes(std::string_view text, Options& options, std::string& error) {
  options.remotes.clear();
  if (text == "none") return true;
  std::set<std::uint8_t> seen;
  for (const std::string_view part : Split(text, '+')) {
    const auto address = ParseAddress(part);
    if (!address) {
      error =
          "remotes must be addresses from 0 to 255 joined by '+', or 'none', not " + Quoted(text);
      return false;
    }
    if (!seen.insert(*address).second) {
      error = "remote address " + std::to_string(*address) + " is listed twice";
      return false;
    }
    options.remotes.push_back(*address);
  }
  return true;
}

// N[+N...]: registers 0 to 31.
bool ParseStuck(std::string_view text, Options& options, std::string& error) {
  options.stuck.clear();
  for (const std::string_view part : Split(text, '+')) {
    const auto n = ParseAddress(part);
    if (!n || *n >= kRegisterCount) {
      error = "stuck must be registers from 0 to 31 joined by '+', not " + Quoted(text);
      return false;
    }
    options.stuck.push_back(*n);
  }
  return true;
}

// KIND[+KIND...]@MS[/PERIOD]
bool ParseLineError(std::string_view text, Options& options, std::string& error) {
  const std::string usage =
      "error must be KIND[+KIND]@MS[/PERIOD] with KIND one of frame, overrun, parity, break, "
      "rxover, txfull, not " +
      Quoted(text);
  const auto at = text.find('@');
  if (at == std::string_view::npos) {
    error = usage;
    return false;
  }
  LineErrorPlan plan;
  for (const std::string_view kind : Split(text.substr(0, at), '+')) {
    const auto* named = std::find_if(kErrorNames.begin(), kErrorNames.end(),
                                     [kind](const ErrorName& e) { return e.name == kind; });
    if (named == kErrorNames.end()) {
      error = usage;
      return false;
    }
    plan.flags |= named->flag;
  }
  std::string_view when = text.substr(at + 1);
  const auto slash = when.find('/');
  const auto time = ParseMillis(Trim(when.substr(0, slash)), kMaxErrorTimeMs);
  if (!time) {
    error = usage;
    return false;
  }
  plan.at = *time;
  if (slash != std::string_view::npos) {
    const auto period = ParseMillis(Trim(when.substr(slash + 1)), kMaxErrorTimeMs);
    if (!period || *period < 1000) {
      error = "the period of a repeated line error must be at least 1 ms, not " + Quoted(text);
      return false;
    }
    plan.period = *period;
  }
  options.lineErrors.push_back(plan);
  return true;
}

std::optional<bool> ParseSwitch(std::string_view text) {
  if (text == "yes" || text == "1" || text == "true" || text == "on") return true;
  if (text == "no" || text == "0" || text == "false" || text == "off") return false;
  return std::nullopt;
}

bool ApplyOne(std::string_view key, std::optional<std::string_view> value, Options& options,
              std::string& error) {
  static constexpr std::string_view kKeys[] = {"host",   "remotes", "host-delay", "radio",
                                               "silent", "loss",    "seed",       "error",
                                               "trace",  "swap",    "swap-gap",   "stuck"};
  if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
    error = "unknown option " + Quoted(key);
    return false;
  }
  const bool isSwitch = key == "silent" || key == "trace";
  if (!value && !isSwitch) {
    error = "option " + Quoted(key) + " needs a value (" + std::string(key) + "=...)";
    return false;
  }
  if (isSwitch) {
    const auto on = value ? ParseSwitch(*value) : std::optional<bool>(true);
    if (!on) {
      error = std::string(key) + " takes yes or no, not " + Quoted(*value);
      return false;
    }
    (key == "silent" ? options.silentHost : options.trace) = *on;
    return true;
  }
  if (key == "host") {
    const auto address = ParseAddress(*value);
    if (!address) error = "host must be an address from 0 to 255, not " + Quoted(*value);
    if (address) options.host = *address;
    return address.has_value();
  }
  if (key == "remotes") return ParseRemotes(*value, options, error);
  if (key == "swap") {
    const auto seconds = ParseNumber(*value);
    if (!seconds || *seconds < 1 || *seconds > kMaxErrorTimeMs / 1000) {
      error = "swap must be a number of seconds from 1 to 86400, not " + Quoted(*value);
      return false;
    }
    options.swapPeriod = static_cast<Micros>(std::llround(*seconds * 1e6));
    return true;
  }
  if (key == "swap-gap") {
    const auto gap = ParseMillis(*value, kMaxDelayMs);
    if (!gap) {
      error = "swap-gap must be a number of milliseconds from 0 to 60000, not " + Quoted(*value);
      return false;
    }
    options.swapGap = *gap;
    return true;
  }
  if (key == "stuck") return ParseStuck(*value, options, error);
  if (key == "host-delay" || key == "radio") {
    const auto delay = ParseMillis(*value, kMaxDelayMs);
    if (!delay) {
      error = std::string(key) + " must be a number of milliseconds from 0 to 60000, not " +
              Quoted(*value);
      return false;
    }
    (key == "radio" ? options.radioDelay : options.hostDelay) = *delay;
    return true;
  }
  if (key == "loss") {
    const auto loss = ParseNumber(*value);
    if (!loss || *loss < 0 || *loss > 1) {
      error = "loss must be between 0 and 1, not " + Quoted(*value);
      return false;
    }
    options.loss = *loss;
    return true;
  }
  if (key == "seed") {
    std::uint32_t seed = 0;
    const auto [end, ec] = std::from_chars(value->data(), value->data() + value->size(), seed);
    if (value->empty() || ec != std::errc() || end != value->data() + value->size()) {
      error = "seed must be a whole number from 0 to 4294967295, not " + Quoted(*value);
      return false;
    }
    options.seed = seed;
    return true;
  }
  return ParseLineError(*value, options, error);
}

}  // namespace

bool ApplyOptions(std::string_view text, Options& options, std::string& error) {
  for (const std::string_view item : Split(text, ',')) {
    if (item.empty()) continue;
    const auto equals = item.find('=');
    const std::string_view key = Trim(item.substr(0, equals));
    std::optional<std::string_view> value;
    if (equals != std::string_view::npos) value = Trim(item.substr(equals + 1));
    if (!ApplyOne(key, value, options, error)) return false;
  }
  return true;
}

std::optional<Options> ParseOptions(std::string_view text, std::string& error) {
  Options options;
  if (!ApplyOptions(text, options, error)) return std::nullopt;
  return options;
}

std::vector<std::string> DescribeOptions() {
  return {
      "host=N            address of the host module on the line, 0 to 255 (default 0: master)",
      "remotes=A+B+...   addresses of the remote modules on the air, or none (default 1)",
      "host-delay=MS     the host module answers a command after MS milliseconds (default 2)",
      "radio=MS          one crossing of the air takes MS milliseconds (default 20)",
      "silent[=yes|no]   the host module takes no keyed command and answers none (default no)",
      "loss=P            each air frame, either way, is lost with chance P, 0 to 1 (default 0)",
      "seed=N            seed of the packet-loss draws; the same seed loses the same frames "
      "(default 1)",
      "error=KIND[+KIND]@MS[/PERIOD]  line error MS ms after opening, every PERIOD ms if given; "
      "KIND: frame, overrun, parity, break, rxover, txfull (repeatable)",
      "trace[=yes|no]    echo the frame log to stderr (built-in system only; default no)",
      "swap=S            every S seconds the host module is taken away and, after swap-gap, a "
      "fresh one with other register contents is put in (talvora-sim: also on SIGUSR1)",
      "swap-gap=MS       how long the line stays without a module at a swap (default 5000)",
      "stuck=N[+N...]    registers of the host module that ignore writes (a failing EEPROM)",
  };
}

}  // namespace sim
