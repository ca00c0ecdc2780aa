#include "ui/link_history_window.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "charts/chart_files.h"
#include "operations/link_quality.h"
#include "settings/settings_file.h"
#include "ui/fatal_error.h"

namespace ui {
namespace {

constexpr const char* kCaption = "Link History";
constexpr const char* kLinkHistoryFolderKey = "linkHistory/lastFolder";
constexpr const char* kCurrentName = "Current test";
constexpr int kMostShown = 2;
constexpr QSize kFirstSize{900, 700};

QString Duration(double seconds) {
  const auto whole = static_cast<qint64>(seconds);
  return QString("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString RunName(const records::KeptLinkTest& test) {
  const QString time = test.setting.started.toLocalTime().toString("yyyy-MM-dd HH:mm");
  return test.setting.label.isEmpty() ? time : test.setting.label + " (" + time + ")";
}

}  // namespace

LinkHistoryWindow::LinkHistoryWindow(QWidget* parent,
                                     std::function<records::LinkTestRecords*()> records)
    : QWidget(parent, Qt::Window),
      records_(std::move(records)),
      view_(new QGraphicsView(&chart_.Scene())),
      list_(new QTreeWidget),
      label_(new QPushButton("&Label…")),
      csv_(new QPushButton("Export &CSV…")) {
  setObjectName("LinkHistory");
  setWindowTitle(kCaption);
  view_->setObjectName("LinkChart");
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setFocusPolicy(Qt::NoFocus);
  view_->viewport()->installEventFilter(this);
  list_->setObjectName("KeptTests");
  list_->setHeaderLabels({"Label", "Started", "Port", "Duration", "Level", "State"});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->setToolTip("Select one test to show it, two (Ctrl+click) to compare them");
  label_->setObjectName("LabelTest");
  csv_->setObjectName("ExportCsv");
  auto* png = new QPushButton("Export &PNG…");
  png->setObjectName("ExportPng");
  auto* svg = new QPushButton("Export &SVG…");
  svg->setObjectName("ExportSvg");
  auto* close = new QPushButton("Close");
  close->setObjectName("CloseHistory");

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {label_, png, svg, csv_})
    buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(view_);
  splitter->addWidget(list_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
  layout->addLayout(buttons);
  resize(kFirstSize);

  connect(label_, &QPushButton::clicked, this, [this] { Guarded([this] { AskLabel(); }); });
  connect(png, &QPushButton::clicked, this, [this] {
    Guarded([this] {
      AskExport("Export Chart", "PNG pictures (*.png)", "png", &LinkHistoryWindow::ExportChart);
    });
  });
  connect(svg, &QPushButton::clicked, this, [this] {
    Guarded([this] {
      AskExport("Export Chart", "SVG drawings (*.svg)", "svg", &LinkHistoryWindow::ExportChart);
    });
  });
  connect(csv_, &QPushButton::clicked, this, [this] {
    Guarded([this] {
      AskExport("Export Evaluations", "CSV files (*.csv)", "csv", &LinkHistoryWindow::ExportCsv);
    });
  });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(list_, &QTreeWidget::itemSelectionChanged, this,
          [this] { Guarded([this] { ShowSelected(); }); });
  connect(&chart_, &charts::LinkChart::PointHovered, this, [this](const QString& text) {
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(QCursor::pos(), text, view_);
    }
  });
  live_.name = kCurrentName;
  Refresh();
}

LinkHistoryWindow::~LinkHistoryWindow() = default;

void LinkHistoryWindow::LinkTestStarted() {
  live_.evaluations.clear();
  liveTest_.reset();
  running_ = true;
  Refresh();
  Select({0});
}

void LinkHistoryWindow::Evaluated(const operations::LinkEvaluation& evaluation) {
  live_.evaluations.push_back(evaluation);
  const auto selected = list_->selectedItems();
  if (selected.size() == 1 && list_->indexOfTopLevelItem(selected.front()) == 0)
    chart_.Append(evaluation);
}

void LinkHistoryWindow::LinkTestStopped(const operations::LinkTotals& /*totals*/) {
  running_ = false;
  Refresh();
}

void LinkHistoryWindow::Refresh() {
  std::vector<int> selected;
  for (QTreeWidgetItem* item : list_->selectedItems())
    selected.push_back(list_->indexOfTopLevelItem(item));
  QSignalBlocker quiet(list_);
  list_->clear();
  auto* current = new QTreeWidgetItem(list_, {kCurrentName, "", "", "", "", ""});
  current->setData(0, Qt::UserRole, QVariant());
  if (!live_.evaluations.empty()) {
    const auto& last = live_.evaluations.back();
    current->setText(3, Duration(last.seconds));
    current->setText(4, QString::number(last.level));
  }
  current->setText(5, running_ ? "running" : (live_.evaluations.empty() ? "none yet" : "stopped"));
  if (records::LinkTestRecords* records = records_()) {
    for (const records::KeptLinkTest& test : records->List(false)) {
      auto* item = new QTreeWidgetItem(
          list_,
          {test.setting.label, test.setting.started.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"),
           test.setting.port, Duration(test.totals.seconds),
           QString::number(test.totals.finalLevel), records::StateName(test.state)});
      item->setData(0, Qt::UserRole, test.id);
      item->setToolTip(2, test.setting.device);
    }
  }
  if (selected.empty()) selected.push_back(0);
  for (const int row : selected) {
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) item->setSelected(true);
  }
  list_->setCurrentItem(list_->topLevelItem(selected.front()), 0, QItemSelectionModel::NoUpdate);
  quiet.unblock();
  ShowSelected();
}

void LinkHistoryWindow::Select(const std::vector<int>& rows) {
  QSignalBlocker quiet(list_);
  list_->clearSelection();
  for (const int row : rows) {
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) item->setSelected(true);
  }
  quiet.unblock();
  ShowSelected();
}

std::optional<qint64> LinkHistoryWindow::TestOf(int row) const {
  const QTreeWidgetItem* item = list_->topLevelItem(row);
  if (item == nullptr || row == 0) return row == 0 ? liveTest_ : std::nullopt;
  return item->data(0, Qt::UserRole).toLongLong();
}

void LinkHistoryWindow::ShowSelected() {
  std::vector<int> rows;
  for (QTreeWidgetItem* item : list_->selectedItems())
    rows.push_back(list_->indexOfTopLevelItem(item));
  std::sort(rows.begin(), rows.end());
  if (rows.size() > kMostShown) rows.resize(kMostShown);
  std::vector<charts::LinkRun> runs;
  records::LinkTestRecords* records = records_();
  for (const int row : rows) {
    if (row == 0) {
      runs.push_back(live_);
      continue;
    }
    if (records == nullptr) continue;
    if (const auto test = records->Find(*TestOf(row))) {
      runs.push_back({RunName(*test), test->evaluations});
    }
  }
  chart_.Show(runs);
  label_->setEnabled(rows.size() == 1 && TestOf(rows.front()).has_value() && !running_);
  csv_->setEnabled(runs.size() == 1);
  FitChart();
}

void LinkHistoryWindow::ExportChart(const QString& path) {
  QString error;
  if (!charts::SaveChart(chart_, path, error)) Tell(error);
  FitChart();  // the file was drawn at its own size
}

void LinkHistoryWindow::ExportCsv(const QString& path) {
  const auto& runs = chart_.Runs();
  if (runs.size() != 1) return;
  QString error;
  if (!operations::SaveLinkEvaluationsCsv(path, runs.front().evaluations, error)) Tell(error);
}

void LinkHistoryWindow::Label(const QString& label) {
  const auto selected = list_->selectedItems();
  if (selected.size() != 1) return;
  const auto test = TestOf(list_->indexOfTopLevelItem(selected.front()));
  records::LinkTestRecords* records = records_();
  if (!test || records == nullptr) return;
  QString error;
  const auto parsed = records::ParseLabel(label, error);
  if (!parsed) {
    Tell(error);
    return;
  }
  if (!records->SetLabel(*test, *parsed)) {
    Tell(records->Error());
    return;
  }
  Refresh();
}

void LinkHistoryWindow::AskLabel() {
  bool ok = false;
  const QString label = QInputDialog::getText(
      this, "Label", "A label for this test (a place, an antenna):", QLineEdit::Normal,
      list_->selectedItems().size() == 1 ? list_->selectedItems().front()->text(0) : QString(),
      &ok);
  if (ok) Label(label);
}

void LinkHistoryWindow::AskExport(const QString& caption, const QString& filter,
                                  const QString& suffix,
                                  void (LinkHistoryWindow::*save)(const QString&)) {
  auto settings = settings::OpenSettingsFile();
  QFileDialog dialog(this, caption, settings->value(kLinkHistoryFolderKey).toString(), filter);
  dialog.setObjectName("ExportDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().front();
  settings->setValue(kLinkHistoryFolderKey, QFileInfo(path).absolutePath());
  (this->*save)(path);
}

void LinkHistoryWindow::Tell(const QString& message) {
  QMessageBox box(QMessageBox::Warning, kCaption, message, QMessageBox::Ok, this);
  box.setObjectName("HistoryMessage");
  box.exec();
}

void LinkHistoryWindow::FitChart() {
  chart_.Resize(view_->viewport()->size());
  view_->setSceneRect(chart_.Scene().sceneRect());
}

bool LinkHistoryWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_->viewport() && event->type() == QEvent::Resize) FitChart();
  return QWidget::eventFilter(watched, event);
}

}  // namespace ui
