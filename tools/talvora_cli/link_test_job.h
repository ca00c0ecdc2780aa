#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "headless_pages.h"
#include "operations/link_evaluation.h"

namespace cli {

using Evaluation = operations::LinkEvaluation;

struct LinkTestResult {
  std::vector<Evaluation> evaluations;
  // What TEST OFF shows.
  int sent = 0;
  int received = 0;
  QString duration;
  int finalLevel = 0;  // the level when the test was stopped
  double seconds = 0;  // from TEST ON to TEST OFF
  bool interrupted = false;
};

// TEST ON, `seconds` of the test, TEST OFF. `onEvaluation` hears each evaluation as it comes,
// and `also`, when given, hears the whole test.
LinkTestResult RunLinkTest(HeadlessPages& pages, double seconds,
                           const std::function<void(const Evaluation&)>& onEvaluation = {},
                           operations::LinkTestListener* also = nullptr);

}  // namespace cli
