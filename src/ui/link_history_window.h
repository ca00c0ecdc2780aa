#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "charts/link_chart.h"
#include "operations/link_evaluation.h"
#include "records/link_test_records.h"

class QGraphicsView;
class QPushButton;
class QTreeWidget;

namespace ui {

// "Link History": the link over time as a chart. It follows the running test live, one point
// per evaluation, lists the kept tests newest first, shows one of them or overlays two, and
// exports the chart (PNG, SVG) and the evaluations (CSV). It is no dialog: it may stay open
// beside the main window during a test.
class LinkHistoryWindow final : public QWidget, public operations::OutcomeListener {
  Q_OBJECT

 public:
  // `records` gives the kept tests, or nothing when there are none to be had.
  LinkHistoryWindow(QWidget* parent, std::function<records::LinkTestRecords*()> records);
  ~LinkHistoryWindow() override;

  void LinkTestStarted() override;
  void Evaluated(const operations::LinkEvaluation& evaluation) override;
  void LinkTestStopped(const operations::LinkTotals& totals) override;

  // The current test has been kept under `test`.
  void KeptAs(qint64 test) { liveTest_ = test; }
  // Reads the kept tests again into the list.
  void Refresh();
  // Shows the list's rows: 0 is the current test, the kept tests follow, newest first. Two
  // rows overlay; more are not asked for.
  void Select(const std::vector<int>& rows);

  charts::LinkChart& Chart() { return chart_; }
  QTreeWidget* List() const { return list_; }

  void ExportChart(const QString& path);
  void ExportCsv(const QString& path);
  void Label(const QString& label);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowSelected();
  void FitChart();
  // The kept test a row stands for, if any.
  std::optional<qint64> TestOf(int row) const;
  void AskLabel();
  void AskExport(const QString& caption, const QString& filter, const QString& suffix,
                 void (LinkHistoryWindow::*save)(const QString&));
  void Tell(const QString& message);

  std::function<records::LinkTestRecords*()> records_;
  charts::LinkChart chart_;
  QGraphicsView* view_;
  QTreeWidget* list_;
  QPushButton* label_;
  QPushButton* csv_;
  charts::LinkRun live_;            // the test running now, or the last one run
  std::optional<qint64> liveTest_;  // its id in the records, once kept
  bool running_ = false;
};

}  // namespace ui
