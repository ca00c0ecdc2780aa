#include "serial/tty/tty_device.h"

#include <sys/ioctl.h>

#include <utility>

#include "serial/comm_constants.h"
#include "serial/logs/device_notices.h"
#include "serial/tty/open_tty.h"
#include "serial/tty/tty_open.h"
#include "serial/tty/tty_settings.h"
#include "serial/tty/tty_system.h"

namespace serial {
namespace {

using platform::Micros;

constexpr Micros kReopenEvery =
    std::chrono::duration_cast<std::chrono::microseconds>(comm::kReopenInterval).count();

// A port's tty over its life: the opening it has now, or none while the device is away, and
// the settings and the input queue that outlive each opening.
class TtyDevice final : public CommDevice {
 public:
  TtyDevice(TtySystem& system, std::string name, std::string path, const PreparedTty& tty)
      : system_(system), name_(std::move(name)), path_(std::move(path)), applied_(tty.settings) {
    openedAt_ = platform::Events().NowMicros();
    Adopt(tty);
  }

  TtyDevice(const TtyDevice&) = delete;
  TtyDevice& operator=(const TtyDevice&) = delete;

  void Advance(Micros now) override {
    if (Away()) {
      TryReopen(now);
      return;
    }
    tty_->Drain();
    if (!Away()) tty_->Flush();
  }

  ReceiveQueue& Input() override { return input_; }

  bool Transmit(const std::uint8_t* data, std::size_t count, Micros /*now*/) override {
    if (!Away()) tty_->Send(data, count);  // while the device is away the bytes go nowhere
    return true;
  }

  bool TransmitDone(Micros /*now*/) override { return Away() || tty_->Sent(); }

  bool SetRts(bool raised, Micros /*now*/) override { return SetLine(TIOCM_RTS, raised); }
  bool SetDtr(bool raised, Micros /*now*/) override { return SetLine(TIOCM_DTR, raised); }

  bool Apply(const DCB& dcb) override {
    if (!TtyCanCarry(dcb)) return false;
    if (!Away() && !tty_->Apply(dcb)) return false;
    // While the device is away the record waits for it to come back.
    applied_ = dcb;
    input_.SetByteDuration(FrameDuration(dcb));
    return true;
  }

  bool ReadBack(DCB& dcb) override {
    if (!Away()) return tty_->ReadBack(applied_, dcb);
    dcb = applied_;
    dcb.Flags |= dcb_flags::fBinary;
    return true;
  }

  DWORD TakeLineErrors() override {
    if (tty_) errors_ |= tty_->TakeLineErrors();
    return std::exchange(errors_, 0);
  }

  // A tty that goes away is reopened when it comes back; it never stops working for good.
  bool Broken() const override { return false; }

 private:
  bool Away() const { return !tty_ || tty_->Gone(); }

  void Adopt(const PreparedTty& tty) {
    tty_ = std::make_unique<OpenTty>(
        system_, tty, input_,
        [this](const std::string& what, const std::string& detail) {
          SayAboutPort(PortWho(name_, path_), Seconds(), what, detail);
        },
        [this] { Lost(); });
    input_.SetByteDuration(FrameDuration(applied_));
  }

  bool SetLine(int line, bool raised) { return !Away() && tty_->SetLine(line, raised); }

  // Called by the opening as it lets the device go.
  void Lost() {
    nextReopen_ = 0;  // the first try at the next tick, then one every interval
    Report(DeviceNotice::Kind::Lost);
  }

  // Costs one stat of a missing path while the device is away, at most once an interval.
  void TryReopen(Micros now) {
    if (tty_) {
      errors_ |= tty_->TakeLineErrors();
      tty_.reset();
    }
    if (now < nextReopen_) return;
    nextReopen_ = now + kReopenEvery;
    OpenFailure ignored;
    const auto tty = PrepareTty(system_, path_, &applied_, ignored);
    if (!tty) return;
    Adopt(*tty);
    Report(DeviceNotice::Kind::Back);
  }

  void Report(DeviceNotice::Kind kind) {
    ReportDeviceNotice(DeviceNotice{kind, name_, path_, Seconds()});
  }

  // Since the port was opened.
  double Seconds() const {
    return static_cast<double>(platform::Events().NowMicros() - openedAt_) / 1'000'000.0;
  }

  TtySystem& system_;
  std::string name_;
  std::string path_;
  DCB applied_;
  Micros openedAt_ = 0;
  Micros nextReopen_ = 0;
  ReceiveQueue input_;
  DWORD errors_ = 0;
  // Declared last: it is closed first, while the queue it fills still stands.
  std::unique_ptr<OpenTty> tty_;
};

}  // namespace

std::unique_ptr<CommDevice> OpenTtyDevice(const std::string& name, const std::string& path,
                                          OpenFailure& failure) {
  TtySystem& system = CurrentTtySystem();
  const auto tty = PrepareTty(system, path, nullptr, failure);
  if (!tty) return nullptr;
  return std::make_unique<TtyDevice>(system, name, path, *tty);
}

}  // namespace serial
