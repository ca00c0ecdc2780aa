#pragma once

// The link tests talvora-cli keeps in the records database and lists from it, and the chart it
// draws of a test.

#include <QString>
#include <memory>

#include "commands.h"
#include "link_test_job.h"

namespace records {
class RecordDatabase;
class LinkTestRecords;
class LinkTestRecorder;
}  // namespace records

namespace cli {

// Keeps the link test the command runs: opened before the test, it hears the test through
// Listener(). A database that is refused is told; the test then runs unkept.
class LinkTestKeeping {
 public:
  LinkTestKeeping(const Options& options);
  ~LinkTestKeeping();

  // False (with Problem()) when the records could not be opened.
  bool Open();
  const QString& Problem() const { return problem_; }
  // What the link test reports to; nothing when the records are not open.
  operations::OutcomeListener* Listener();

 private:
  class Interruptible;

  const Options& options_;
  QString problem_;
  std::unique_ptr<records::RecordDatabase> database_;
  std::unique_ptr<records::LinkTestRecords> records_;
  std::unique_ptr<records::LinkTestRecorder> recorder_;
  std::unique_ptr<Interruptible> listener_;
};

// The database that --record names, or the default one.
QString RecordsPath(const Options& options);

// `records --kind linktest`: every kept link test with its evaluations, as lines, JSON
// (--json) or CSV (--csv FILE, "-" for standard output).
int ListKeptLinkTests(const Options& options);

// Draws the chart of `result` into `path` (PNG or SVG by its suffix); false with `error`.
bool PlotLinkTest(const LinkTestResult& result, const QString& path, QString& error);

}  // namespace cli
