#include "ui/link_history.h"

#include <QMenu>
#include <QShortcut>
#include <cstdio>

#include "records/link_test_recorder.h"
#include "records/record_database.h"
#include "serial/device_names.h"
#include "ui/fatal_error.h"
#include "ui/link_history_window.h"

namespace ui {

LinkHistory::LinkHistory(QWidget* mainWindow, std::function<std::string()> portName,
                         std::function<bool()> remote)
    : QObject(mainWindow),
      portName_(std::move(portName)),
      remote_(std::move(remote)),
      window_(new LinkHistoryWindow(mainWindow, [this] { return Records(); })) {
  auto* shortcut = new QShortcut(QKeySequence("Ctrl+H"), mainWindow, this,
                                 [this] { Guarded([this] { Open(); }); });
  shortcut->setContext(Qt::WindowShortcut);
}

LinkHistory::~LinkHistory() = default;

void LinkHistory::Attach(operations::Outcomes& reports, QWidget* frame) {
  // The recorder writes first, so that the window finds the finished test kept.
  reports.Add(this);
  reports.Add(window_);
  frame->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(frame, &QWidget::customContextMenuRequested, this, [this, frame](const QPoint& at) {
    QMenu menu(frame);
    menu.setObjectName("LinkHistoryMenu");
    menu.addAction("Link History…", this, [this] { Guarded([this] { Open(); }); });
    menu.exec(frame->mapToGlobal(at));
  });
}

void LinkHistory::Open() {
  window_->Refresh();
  window_->show();
  window_->raise();
  window_->activateWindow();
}

records::LinkTestRecords* LinkHistory::Records() {
  if (records_ || refused_) return records_.get();
  database_ = std::make_unique<records::RecordDatabase>();
  if (!database_->open(records::RecordDatabase::defaultPath())) {
    refused_ = true;
    std::fprintf(stderr, "talvora: link tests are not kept: %s\n",
                 database_->error().toLocal8Bit().constData());
    return nullptr;
  }
  records_ = std::make_unique<records::LinkTestRecords>(*database_);
  recorder_ = std::make_unique<records::LinkTestRecorder>(
      *records_,
      [this] {
        const std::string port = portName_ ? portName_() : std::string();
        return records::LinkTestSetting{
            {},
            QString::fromStdString(port),
            QString::fromStdString(win32::ResolveDeviceName(port).device),
            remote_() ? "remote" : "host",
            {}};
      },
      [](const QString& problem) {
        std::fprintf(stderr, "talvora: %s\n", problem.toLocal8Bit().constData());
      });
  return records_.get();
}

void LinkHistory::LinkTestStarted() {
  if (Records() != nullptr) recorder_->LinkTestStarted();
}

void LinkHistory::Evaluated(const operations::LinkEvaluation& evaluation) {
  if (recorder_) recorder_->Evaluated(evaluation);
}

void LinkHistory::LinkTestStopped(const operations::LinkTotals& totals) {
  if (!recorder_) return;
  const bool kept = recorder_->Keeping();
  recorder_->LinkTestStopped(totals);
  if (kept && recorder_->Test()) window_->KeptAs(*recorder_->Test());
}

}  // namespace ui
