#include "operations/value_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace operations {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// The text without its blanks: they are skipped wherever they stand.
std::string WithoutBlanks(const std::string& text) {
  std::string compact;
  for (const char c : text) {
    if (!IsBlank(c)) compact.push_back(c);
  }
  return compact;
}

// A radix literal after "&H" or "&O": its digits up to the first that does not belong. A value
// text has at most three characters, so at most one digit follows the prefix.
double RadixNumber(const std::string& digits, int radix) {
  double value = 0;
  for (const char c : digits) {
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (radix == 16 && std::isxdigit(static_cast<unsigned char>(c)))
                          ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                          : -1;
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
  }
  return value;
}

// The longest decimal number at the start of `text`: sign, digits, one point, exponent.
double DecimalNumber(const std::string& text) {
  std::size_t i = 0;
  std::string literal;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) literal.push_back(text[i++]);
  bool digits = false;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    literal.push_back(text[i++]);
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    literal.push_back(text[i++]);
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      literal.push_back(text[i++]);
      digits = true;
    }
  }
  if (!digits) return 0;
  if (i < text.size() && (std::toupper(static_cast<unsigned char>(text[i])) == 'E' ||
                          std::toupper(static_cast<unsigned char>(text[i])) == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(text[j++]);
    bool expDigits = false;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      exponent.push_back(text[j++]);
      expDigits = true;
    }
    if (expDigits) literal += exponent;
  }
  return std::strtod(literal.c_str(), nullptr);
}

}  // namespace

double Val(const std::string& text) {
  const std::string compact = WithoutBlanks(text);
  if (compact.size() >= 2 && compact[0] == '&') {
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(compact[1])));
    if (kind == 'H') return RadixNumber(compact.substr(2), 16);
    if (kind == 'O') return RadixNumber(compact.substr(2), 8);
  }
  return DecimalNumber(compact);
}

std::optional<int> ProgrammingValue(const QString& text) {
  constexpr int kLongestValueText = 3;
  constexpr double kHighestValue = 255;
  if (text.size() > kLongestValueText) return std::nullopt;
  const double x = Val(text.toLatin1().toStdString());
  if (x < 0 || x > kHighestValue) return std::nullopt;
  return static_cast<int>(RoundHalfEven(x));
}

double RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

}  // namespace operations
