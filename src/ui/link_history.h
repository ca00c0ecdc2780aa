#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "operations/outcomes.h"

class QWidget;

namespace records {
class LinkTestRecorder;
class LinkTestRecords;
class RecordDatabase;
}  // namespace records

namespace ui {

class LinkHistoryWindow;

// What the main window keeps of its link tests: every test in the records database, and the
// "Link History" window, opened by "Link History…" in the right-click menu of the "&Radio
// Testing" page's frame or by Ctrl+H. The designed page itself does not change. A database
// that cannot be opened is told on standard error once; the tests then run unkept.
class LinkHistory final : public QObject, private operations::OutcomeListener {
 public:
  // `portName` gives the port the main window opened; `remote` whether the page works with
  // the remote module.
  LinkHistory(QWidget* mainWindow, std::function<std::string()> portName,
              std::function<bool()> remote);
  ~LinkHistory() override;

  // Hears the link test in `reports` and puts the menu on `frame` (both made anew at each load
  // of the window).
  void Attach(operations::Outcomes& reports, QWidget* frame);

  void Open();
  LinkHistoryWindow& Window() { return *window_; }

 private:
  void LinkTestStarted() override;
  void Evaluated(const operations::LinkEvaluation& evaluation) override;
  void LinkTestStopped(const operations::LinkTotals& totals) override;
  // The records, opened at first use; nothing when the database is refused.
  records::LinkTestRecords* Records();

  std::function<std::string()> portName_;
  std::function<bool()> remote_;
  std::unique_ptr<records::RecordDatabase> database_;
  std::unique_ptr<records::LinkTestRecords> records_;
  std::unique_ptr<records::LinkTestRecorder> recorder_;
  bool refused_ = false;
  LinkHistoryWindow* window_;
};

}  // namespace ui
