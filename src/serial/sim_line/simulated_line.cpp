#include "serial/sim_line/simulated_line.h"

#include <algorithm>
#include <iterator>

#include "serial/handle_table.h"

namespace serial {

using platform::Micros;

namespace {

SimulatedPeerFactory& Factory() {
  static SimulatedPeerFactory factory;
  return factory;
}

// Ten bit times per byte: start, eight data bits, stop.
Micros ByteDurationAt(DWORD baud) {
  if (baud == 0) return 1042;
  return (Micros{10'000'000} + baud / 2) / baud;
}

}  // namespace

SimulatedLine::SimulatedLine(std::shared_ptr<LinePeer> peer)
    : peer_(std::move(peer)), settings_(win32::PowerOnDcb()) {
  input_.SetByteDuration(byteDuration_);
}

bool SimulatedLine::RtsAt(Micros at) const {
  auto after = std::upper_bound(rtsLog_.begin(), rtsLog_.end(), at,
                                [](Micros t, const RtsChange& change) { return t < change.at; });
  return after != rtsLog_.begin() && std::prev(after)->raised;
}

void SimulatedLine::Advance(Micros now) {
  // Hand the peer every byte that has finished crossing, at the moment it did.
  while (outgoingDone_ < outgoing_.size() &&
         outgoing_[outgoingDone_].start + byteDuration_ <= now) {
    const Outgoing byte = outgoing_[outgoingDone_++];
    const Micros end = byte.start + byteDuration_;
    const bool rts = RtsAt(byte.start);
    transcript_.push_back(LineByte{byte.start, byte.value, LineByte::Direction::FromProgram, rts});
    if (peer_) {
      peer_->AdvanceTo(end, *this);
      peer_->OnByteFromProgram(byte.value, end, rts ? RtsLevel::Raised : RtsLevel::Low, *this);
    }
  }
  if (outgoingDone_ == outgoing_.size()) {
    outgoing_.clear();
    outgoingDone_ = 0;
  }
  if (peer_) peer_->AdvanceTo(now, *this);
  auto due = std::stable_partition(errors_.begin(), errors_.end(),
                                   [now](const ScheduledError& e) { return e.at > now; });
  for (auto it = due; it != errors_.end(); ++it)
    lineErrors_ |= it->flags;
  errors_.erase(due, errors_.end());
}

bool SimulatedLine::Transmit(const std::uint8_t* data, std::size_t count, Micros now) {
  if (broken_) return false;
  Micros start = std::max(now, transmitFreeAt_);
  for (std::size_t i = 0; i < count; ++i) {
    outgoing_.push_back(Outgoing{data[i], start});
    start += byteDuration_;
  }
  transmitFreeAt_ = start;
  return true;
}

bool SimulatedLine::TransmitDone(Micros now) {
  return now >= transmitFreeAt_;
}

bool SimulatedLine::SetRts(bool raised, Micros now) {
  if (raised != rts_) rtsLog_.push_back(RtsChange{now, raised});
  rts_ = raised;
  return true;
}

bool SimulatedLine::SetDtr(bool raised, Micros /*now*/) {
  dtr_ = raised;
  return true;
}

bool SimulatedLine::Apply(const DCB& dcb) {
  settings_ = dcb;
  byteDuration_ = ByteDurationAt(dcb.BaudRate);
  input_.SetByteDuration(byteDuration_);
  return true;
}

bool SimulatedLine::ReadBack(DCB& dcb) {
  dcb = settings_;
  dcb.DCBlength = sizeof(DCB);
  dcb.Flags |= dcb_flags::fBinary;  // serial devices only work in binary mode
  return true;
}

DWORD SimulatedLine::TakeLineErrors() {
  const DWORD flags = lineErrors_;
  lineErrors_ = 0;
  return flags;
}

void SimulatedLine::SendToProgram(std::string_view bytes, Micros at) {
  Micros start = std::max(at, receiveFreeAt_);
  for (const char c : bytes) {
    const auto value = static_cast<std::uint8_t>(c);
    transcript_.push_back(LineByte{start, value, LineByte::Direction::ToProgram, false});
    if (!input_.Push(value, start + byteDuration_)) lineErrors_ |= CE_RXOVER;
    start += byteDuration_;
  }
  receiveFreeAt_ = start;
}

void SimulatedLine::InjectLineError(std::uint32_t ceFlags, Micros at) {
  errors_.push_back(ScheduledError{ceFlags, at});
}

std::vector<LineByte> SimulatedLine::Transcript() {
  Advance(platform::Events().NowMicros());
  const Micros now = platform::Events().NowMicros();
  std::vector<LineByte> crossed;
  for (const LineByte& byte : transcript_) {
    if (byte.at + byteDuration_ <= now) crossed.push_back(byte);
  }
  std::stable_sort(crossed.begin(), crossed.end(),
                   [](const LineByte& a, const LineByte& b) { return a.at < b.at; });
  return crossed;
}

void SetSimulatedPeerFactory(SimulatedPeerFactory factory) {
  Factory() = std::move(factory);
}

std::unique_ptr<CommDevice> OpenSimulatedLine(const std::string& options, OpenFailure& failure) {
  if (!Factory()) {
    failure.error = ERROR_FILE_NOT_FOUND;
    failure.reason = "the simulated radio system is not part of this program";
    return nullptr;
  }
  std::string error;
  auto peer = Factory()(options, error);
  if (!peer) {
    failure.error = ERROR_INVALID_PARAMETER;
    failure.reason = "the simulated radio system does not accept the options \"" + options + "\"" +
                     (error.empty() ? std::string() : ": " + error);
    failure.fix = "see the README for the options of the simulated radio system";
    return nullptr;
  }
  auto line = std::make_unique<SimulatedLine>(peer);
  peer->OnOpened(platform::Events().NowMicros(), *line);
  return line;
}

SimulatedLine* SimulatedLineOf(HANDLE handle) {
  win32::DeviceEntry* entry = win32::HandleTable::Instance().Device(handle);
  return entry == nullptr ? nullptr : dynamic_cast<SimulatedLine*>(entry->device.get());
}

}  // namespace serial
