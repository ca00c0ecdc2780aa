#include "operations/link_test.h"

#include <string>

#include "link/functions.h"
#include "operations/link_quality.h"
#include "operations/module_commands.h"
#include "platform/event_service.h"
#include "platform/interval_timer.h"

namespace operations {

void LinkTest::Command3_Click() {
  window_.DisableClose();
  if (!pagesWithheld_) pagesWithheld_.emplace(window_, kRadioTestingPage);
  controls_.Command3->Enabled(false);
  controls_.Command1->Enabled(true);
  session_.StartTime = platform::Timer();
  started_ = platform::Events().NowMicros();
  session_.SentPackets = 0;
  session_.ReceivedPackets = 0;
  session_.LinkQuality = 4;
  controls_.Timer1->Enabled(true);
  controls_.Label4->Text("");
  controls_.Label5->Text("");
  controls_.Label6->Text("");
}

void LinkTest::Timer1_Timer() {
  if (session_.SendPhase) {
    session_.SendPhase = false;
    std::string packet(1, '\0');
    functions::SendPlain("$", packet);
    ++session_.SentPackets;
  } else {
    session_.SendPhase = true;
    Evaluate();
  }
}

void LinkTest::Evaluate() {
  // Any data delivered since the packet went out counts as its answer.
  if (functions::ReplyArrived()) {
    ++session_.ReceivedPackets;
    if (++session_.LinkQuality > kBestLinkQuality) session_.LinkQuality = kBestLinkQuality;
  } else {
    if (--session_.LinkQuality < 0) session_.LinkQuality = 0;
  }
  ShowLevel();
  controls_.Label3->Text(QString::number(session_.LinkQuality));
  constexpr double kMicrosPerSecond = 1e6;
  outcomes_.Evaluated(
      {static_cast<double>(platform::Events().NowMicros() - started_) / kMicrosPerSecond,
       session_.SentPackets, session_.ReceivedPackets, session_.LinkQuality,
       QualityCaption(session_.LinkQuality)});
}

void LinkTest::ShowLevel() {
  controls_.Label2->Text(QualityCaption(session_.LinkQuality));
  const int lamp = QualityLamp(session_.LinkQuality);
  for (int i = 0; i < static_cast<int>(controls_.Picture1.size()); ++i) {
    if (i != lamp) controls_.Picture1[i]->Visible(false);
  }
  controls_.Picture1[lamp]->Visible(true);
}

void LinkTest::Command1_Click() {
  window_.EnableClose();
  pagesWithheld_.reset();
  controls_.Command1->Enabled(false);
  controls_.Command3->Enabled(true);
  controls_.Timer1->Enabled(false);
  controls_.Label2->Text("");
  controls_.Label3->Text("");
  // The red lamp alone: the others would otherwise show through, depending on their stacking.
  controls_.Picture1[kGreyLamp]->Visible(false);
  controls_.Picture1[kGreenLamp]->Visible(false);
  controls_.Picture1[kRedLamp]->Visible(true);
  if (functions::ReplyArrived()) ++session_.ReceivedPackets;
  if (session_.ReceivedPackets > session_.SentPackets) {
    session_.ReceivedPackets = session_.SentPackets;
  }
  controls_.Label5->Text(QString::number(session_.ReceivedPackets));
  controls_.Label4->Text(QString::number(session_.SentPackets));
  const QString duration = TestingTimeCaption(ElapsedSince(session_.StartTime));
  controls_.Label6->Text(duration);
  outcomes_.LinkTestStopped(
      {session_.SentPackets, session_.ReceivedPackets, duration, session_.LinkQuality});
}

}  // namespace operations
