#pragma once

#include <QString>

#include "operations/outcomes.h"

namespace cli {

// A progress line on standard error for runs longer than a second, and only when standard
// error is a terminal: registers done of total and the most time the limits leave.
class ProgressLine final : public operations::OutcomeListener {
 public:
  enum class Run { Reading, Programming };

  ProgressLine(Run run, int registers);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Requested(int n, bool retry) override;
  void Read(const operations::RegisterReading& reading) override;
  void Programmed(const operations::RegisterProgramming& programming) override;

  // For runs by time: "link test: 12 of 30 s".
  static void ShowTime(const QString& what, double seconds, double total);
  static void Clear();

 private:
  void Show();

  Run run_;
  int registers_;
  int requests_ = 0;
  int answered_ = 0;
  int confirmed_ = 0;
};

}  // namespace cli
