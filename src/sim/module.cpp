#include "sim/module.h"

namespace sim {

namespace {
constexpr std::uint8_t kPreambleBytes = 8;       // register 1: synchronisation preamble length
constexpr std::uint8_t kSyncCharacter = 0x16;    // register 2: ASCII SYN
constexpr std::uint8_t kNoParity = 0;            // register 3: RS 232 features
constexpr std::uint8_t kErased = 0xFF;           // reserved registers, never written
constexpr std::uint8_t kFirmwareRelease = 0x12;  // register 31: release 1.2
}  // namespace

std::optional<Command> AsCommand(std::string_view frame) {
  const auto byte = [&frame](std::size_t i) { return static_cast<std::uint8_t>(frame[i]); };
  if (frame.size() == 2 && byte(0) == kReadCommand) {
    return Command{Command::Kind::Read, byte(1), 0};
  }
  if (frame.size() == 3 && byte(0) == kWriteCommand) {
    return Command{Command::Kind::Write, byte(1), byte(2)};
  }
  return std::nullopt;
}

Module::Registers FactoryRegisters(std::uint8_t address) {
  Module::Registers registers;
  registers.fill(kErased);
  registers[0] = address;
  registers[1] = kPreambleBytes;
  registers[2] = kSyncCharacter;
  registers[3] = kNoParity;
  registers[kRegisterCount - 1] = kFirmwareRelease;
  return registers;
}

Module::Registers SwappedInRegisters(std::uint8_t address, unsigned generation) {
  Module::Registers registers = FactoryRegisters(address);
  registers[4] = static_cast<std::uint8_t>(generation & 0xFF);
  registers[5] = static_cast<std::uint8_t>((generation >> 8) & 0xFF);
  return registers;
}

Module::Module(std::uint8_t address) : registers_(FactoryRegisters(address)) {}

std::optional<std::uint8_t> Module::Execute(const Command& command) {
  if (command.reg >= kRegisterCount) return std::nullopt;
  if (command.kind == Command::Kind::Read) return registers_[command.reg];
  registers_[command.reg] = command.value;
  return std::nullopt;
}

std::optional<std::string> Module::HearFromAir(std::string_view frame) {
  if (const auto command = AsCommand(frame)) {
    const auto answer = Execute(*command);
    if (!answer) return std::nullopt;
    return std::string(1, static_cast<char>(*answer));
  }
  if (frame.empty() || static_cast<std::uint8_t>(frame.front()) != Address()) return std::nullopt;
  return std::string(frame);
}

}  // namespace sim
