#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/sim_constants.h"

namespace sim {

// A command frame: "$" n reads register n, "#" n v writes v into it.
struct Command {
  enum class Kind { Read, Write };
  Kind kind;
  std::uint8_t reg;
  std::uint8_t value;  // for Write
};

// The command a frame is, when it is exactly one ("$" n, or "#" n v).
std::optional<Command> AsCommand(std::string_view frame);

// One radio module: its EEPROM of 32 one-byte registers, register 0 being its address.
class Module {
 public:
  using Registers = std::array<std::uint8_t, kRegisterCount>;

  explicit Module(std::uint8_t address);
  explicit Module(const Registers& registers) : registers_(registers) {}

  std::uint8_t Address() const { return registers_[0]; }
  const Registers& EepromRegisters() const { return registers_; }

  // Carries out a command; a read answers the register, a write answers nothing. Registers
  // beyond the last do not exist: reading them answers nothing, writing them changes nothing.
  std::optional<std::uint8_t> Execute(const Command& command);

  // What the module sends back on the air for a frame it heard there: the answer to a
  // command, or the echo of a text block addressed to it (the block begins with its address).
  std::optional<std::string> HearFromAir(std::string_view frame);

 private:
  Registers registers_;
};

// Registers of a module fresh from the factory, with the given address.
Module::Registers FactoryRegisters(std::uint8_t address);
// The registers of the `generation`th module put in at a swap: the factory's, with a serial
// number of its own in registers 4 and 5, so that each module reads differently.
Module::Registers SwappedInRegisters(std::uint8_t address, unsigned generation);

}  // namespace sim
