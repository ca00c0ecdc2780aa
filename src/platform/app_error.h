#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace platform {

// Base of the numbers of errors raised by the program's own objects.
inline constexpr std::uint32_t kObjectErrorBase = 0x80040000u;

// A raised error: number, source and description, plus an optional detail that the top-level
// report shows under them (which device was tried, why it failed, how to fix it).
// Nothing in the program handles it except the top level, which reports it and ends the program.
class AppError : public std::exception {
 public:
  AppError(std::uint32_t number, std::string source, std::string description,
           std::string detail = {});

  std::uint32_t Number() const { return number_; }
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }
  const std::string& Detail() const { return detail_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::uint32_t number_;
  std::string source_;
  std::string description_;
  std::string detail_;
};

// The report of an error as the program shows it: its number as the program's Long holds it
// and in hex, its description, and the detail under them when there is one.
std::string ErrorReportText(const AppError& error);

}  // namespace platform
