#include "sim/air.h"

namespace sim {

Air::Air(Timeline& timeline, FrameLog& log, const Options& options, ToLine toLine)
    : timeline_(timeline),
      log_(log),
      delay_(options.radioDelay),
      loss_(options.loss, options.seed),
      remotes_(options.remotes.begin(), options.remotes.end()),
      toLine_(std::move(toLine)) {}

void Air::SendFromHost(const std::string& frame, Micros at) {
  log_.Add({at, Route::HostToAir, std::nullopt, frame});
  const bool lost = loss_.NextLost();
  timeline_.At(at + delay_, [this, frame, lost](Micros arrival, serial::PeerSink&) {
    if (lost) {
      log_.Add({arrival, Route::LostOnAir, std::nullopt, frame});
      return;
    }
    for (std::size_t i = 0; i < remotes_.size(); ++i) {
      log_.Add({arrival, Route::AirToRemote, remotes_[i].Address(), frame});
      if (const auto answer = remotes_[i].HearFromAir(frame)) {
        SendFromRemote(i, *answer, arrival);
      }
    }
  });
}

void Air::SendFromRemote(std::size_t index, const std::string& frame, Micros at) {
  const std::uint8_t sender = remotes_[index].Address();
  log_.Add({at, Route::RemoteToAir, sender, frame});
  const bool lost = loss_.NextLost();
  timeline_.At(at + delay_, [this, frame, lost, sender](Micros arrival, serial::PeerSink& sink) {
    if (lost) {
      log_.Add({arrival, Route::LostOnAir, sender, frame});
      return;
    }
    toLine_(frame, arrival, sink);
  });
}

}  // namespace sim
