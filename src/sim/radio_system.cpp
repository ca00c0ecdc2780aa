#include "sim/radio_system.h"

#include <algorithm>
#include <iostream>

#include "sim/swap_signal.h"

namespace sim {

RadioSystem::RadioSystem(Options options)
    : options_(std::move(options)),
      host_(options_.host),
      air_(timeline_, log_, options_,
           [this](const std::string& bytes, Micros at, serial::PeerSink& sink) {
             SendToLine(bytes, at, sink);
           }),
      fromProgram_(timeline_, [this](const std::string& frame, Micros at, Destination to,
                                     serial::PeerSink& sink) { OnFrame(frame, at, to, sink); }) {
  if (options_.trace) log_.EchoTo(&std::cerr);
}

void RadioSystem::OnOpened(Micros at, serial::PeerSink& /*sink*/) {
  log_.SetOrigin(at);
  signalsSeen_ = SwapSignals();
  for (const LineErrorPlan& plan : options_.lineErrors)
    PlanLineError(plan, at + plan.at);
  if (options_.swapPeriod > 0) PlanSwap(at + options_.swapPeriod);
}

void RadioSystem::OnByteFromProgram(std::uint8_t byte, Micros at, serial::RtsLevel rts,
                                    serial::PeerSink& sink) {
  TakeSwapSignal(at);
  timeline_.RunUntil(at, sink);
  fromProgram_.OnByte(byte, at, rts, sink);
}

void RadioSystem::AdvanceTo(Micros now, serial::PeerSink& sink) {
  TakeSwapSignal(now);
  timeline_.RunUntil(now, sink);
}

const Module* RadioSystem::Remote(std::uint8_t address) const {
  for (const Module& remote : air_.Remotes()) {
    if (remote.Address() == address) return &remote;
  }
  return nullptr;
}

void RadioSystem::OnFrame(const std::string& frame, Micros at, Destination to,
                          serial::PeerSink& /*sink*/) {
  log_.Add({at, Route::ProgramToHost, std::nullopt, frame});
  if (to == Destination::Air) {
    air_.SendFromHost(frame, at);
    return;
  }
  // A silent host module, or none at all, takes no command: it neither stores nor answers.
  const auto command = AsCommand(frame);
  if (options_.silentHost || !present_ || !command) return;
  if (command->kind == Command::Kind::Write &&
      std::find(options_.stuck.begin(), options_.stuck.end(), command->reg) != options_.stuck.end())
    return;
  if (const auto answer = host_.Execute(*command)) {
    const std::string reply(1, static_cast<char>(*answer));
    timeline_.At(at + options_.hostDelay, [this, reply](Micros due, serial::PeerSink& sink) {
      SendToLine(reply, due, sink);
    });
  }
}

void RadioSystem::TakeSwapSignal(Micros now) {
  const unsigned signals = SwapSignals();
  if (signals == signalsSeen_) return;
  signalsSeen_ = signals;
  Swap(now);
}

void RadioSystem::Swap(Micros at) {
  timeline_.At(at, [this](Micros due, serial::PeerSink& /*sink*/) { TakeAway(due); });
}

void RadioSystem::TakeAway(Micros at) {
  present_ = false;
  timeline_.At(at + options_.swapGap, [this](Micros /*due*/, serial::PeerSink& /*sink*/) {
    host_ = Module(SwappedInRegisters(options_.host, ++swaps_));
    present_ = true;
  });
}

void RadioSystem::PlanSwap(Micros at) {
  timeline_.At(at, [this](Micros due, serial::PeerSink& /*sink*/) {
    TakeAway(due);
    PlanSwap(due + options_.swapPeriod);
  });
}

void RadioSystem::SendToLine(const std::string& bytes, Micros at, serial::PeerSink& sink) {
  log_.Add({at, Route::HostToProgram, std::nullopt, bytes});
  sink.SendToProgram(bytes, at);
}

void RadioSystem::PlanLineError(const LineErrorPlan& plan, Micros at) {
  timeline_.At(at, [this, plan](Micros due, serial::PeerSink& sink) {
    log_.Add({due, Route::LineError, std::nullopt, {}, plan.flags});
    sink.InjectLineError(plan.flags, due);
    if (plan.period > 0) PlanLineError(plan, due + plan.period);
  });
}

}  // namespace sim
