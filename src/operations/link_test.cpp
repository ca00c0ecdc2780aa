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
  window_.SetPageEnabled(kProgrammingPage, false);
  window_.SetPageEnabled(kTerminalPage, false);
  controls_.Command3->Enabled(false);
  controls_.Command1->Enabled(true);
  session_.StartTime = platform::Timer();
  session_.SentPackets = 0;
  session_.ReceivedPackets = 0;
  session_.LinkQuality = 4;
  controls_.Timer1->Enabled(true);
  controls_.Label4->Text("");
  controls_.Label5->Text("");
  controls_.Label6->Text("");
  testStart_ = platform::Events().NowMicros();
  for (LinkTestListener* listener : std::vector(listeners_))
    listener->LinkTestStarted();
}

double LinkTest::SecondsSinceStart() const {
  return static_cast<double>(platform::Events().NowMicros() - testStart_) / 1e6;
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
  const LinkEvaluation evaluation{SecondsSinceStart(), session_.SentPackets,
                                  session_.ReceivedPackets, session_.LinkQuality,
                                  QualityCaption(session_.LinkQuality)};
  for (LinkTestListener* listener : std::vector(listeners_))
    listener->LinkEvaluated(evaluation);
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
  const int finalLevel = session_.LinkQuality;
  window_.EnableClose();
  window_.SetPageEnabled(kProgrammingPage, true);
  window_.SetPageEnabled(kTerminalPage, true);
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
  controls_.Label6->Text(TestingTimeCaption(ElapsedSince(session_.StartTime)));
  const LinkTestTotals totals{SecondsSinceStart(), session_.SentPackets, session_.ReceivedPackets,
                              finalLevel};
  for (LinkTestListener* listener : std::vector(listeners_))
    listener->LinkTestStopped(totals);
}

}  // namespace operations
