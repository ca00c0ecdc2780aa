#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "headless_pages.h"

namespace cli {

// One evaluation of the link test (every second).
using Evaluation = operations::LinkEvaluation;

struct LinkTestResult {
  std::vector<Evaluation> evaluations;
  // What TEST OFF shows.
  int sent = 0;
  int received = 0;
  QString duration;
  int finalLevel = 0;  // the level when the test was stopped
  bool interrupted = false;
};

// TEST ON, `seconds` of the test, TEST OFF. `onEvaluation` hears each evaluation as it comes.
LinkTestResult RunLinkTest(HeadlessPages& pages, double seconds,
                           const std::function<void(const Evaluation&)>& onEvaluation = {});

}  // namespace cli
