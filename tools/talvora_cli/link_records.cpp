#include "link_records.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "charts/chart_files.h"
#include "charts/link_chart.h"
#include "files/safe_file_qt.h"
#include "output.h"
#include "records/link_test_recorder.h"
#include "records/record_database.h"
#include "report.h"
#include "run_loop.h"
#include "serial/device_names.h"

namespace cli {

// Marks the test interrupted when Ctrl+C ended it.
class LinkTestKeeping::Interruptible final : public operations::OutcomeListener {
 public:
  explicit Interruptible(records::LinkTestRecorder& recorder) : recorder_(recorder) {}
  void LinkTestStarted() override { recorder_.LinkTestStarted(); }
  void Evaluated(const operations::LinkEvaluation& evaluation) override {
    recorder_.Evaluated(evaluation);
  }
  void LinkTestStopped(const operations::LinkTotals& totals) override {
    if (Interrupted()) recorder_.MarkInterrupted();
    recorder_.LinkTestStopped(totals);
  }

 private:
  records::LinkTestRecorder& recorder_;
};

LinkTestKeeping::LinkTestKeeping(const Options& options) : options_(options) {}
LinkTestKeeping::~LinkTestKeeping() = default;

QString RecordsPath(const Options& options) {
  return options.record.isEmpty() ? records::RecordDatabase::defaultPath() : options.record;
}

bool LinkTestKeeping::Open() {
  database_ = std::make_unique<records::RecordDatabase>();
  if (!database_->open(RecordsPath(options_))) {
    problem_ = "the link test is not kept: " + database_->error();
    database_.reset();
    return false;
  }
  records_ = std::make_unique<records::LinkTestRecords>(*database_);
  recorder_ = std::make_unique<records::LinkTestRecorder>(
      *records_,
      [this] {
        const std::string port = options_.port.toStdString();
        return records::LinkTestSetting{
            {},
            options_.port,
            QString::fromStdString(win32::ResolveDeviceName(port).device),
            options_.remote ? "remote" : "host",
            options_.label.trimmed()};
      },
      [](const QString& problem) {
        std::fprintf(stderr, "talvora-cli: %s\n", problem.toLocal8Bit().constData());
      });
  listener_ = std::make_unique<Interruptible>(*recorder_);
  return true;
}

operations::OutcomeListener* LinkTestKeeping::Listener() {
  return listener_.get();
}

namespace {

QJsonObject TestJson(const records::KeptLinkTest& test) {
  QJsonArray evaluations;
  for (const operations::LinkEvaluation& evaluation : test.evaluations) {
    evaluations.append(QJsonObject{{"seconds", evaluation.seconds},
                                   {"sent", evaluation.sent},
                                   {"received", evaluation.received},
                                   {"level", evaluation.level},
                                   {"caption", evaluation.caption}});
  }
  return {{"id", test.id},
          {"started", test.setting.started.toString(Qt::ISODateWithMs)},
          {"label", test.setting.label},
          {"port", test.setting.port},
          {"device", test.setting.device},
          {"module", test.setting.module},
          {"state", records::StateName(test.state)},
          {"seconds", test.totals.seconds},
          {"sent", test.totals.sent},
          {"received", test.totals.received},
          {"level", test.totals.finalLevel},
          {"evaluations", evaluations}};
}

QString TestLine(const records::KeptLinkTest& test) {
  return QString("#%1 %2 %3 %4 (%5, %6) %7 s sent %8 received %9 level %10 %11")
      .arg(test.id)
      .arg(test.setting.started.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"))
      .arg(test.setting.label.isEmpty() ? QString("-") : "\"" + test.setting.label + "\"")
      .arg(test.setting.port, test.setting.device, test.setting.module)
      .arg(test.totals.seconds, 0, 'f', 1)
      .arg(test.totals.sent)
      .arg(test.totals.received)
      .arg(test.totals.finalLevel)
      .arg(records::StateName(test.state));
}

bool Write(const QString& path, const QByteArray& bytes, QString& error) {
  // Standard output never holds the program up; a failure there is said once, at the end.
  if (path == "-") {
    output::Write(bytes);
    return true;
  }
  return files::ReplaceFile(path, bytes, error);
}

}  // namespace

int ListKeptLinkTests(const Options& options) {
  if (options.kind != "linktest")
    return UsageError(QString("records knows --kind linktest, not '%1'").arg(options.kind));
  if (!options.arguments.isEmpty()) return UsageError("records takes no arguments");
  records::RecordDatabase database;
  if (options.csv != "-" && !WritableLater(options.csv)) return kBadUsage;
  if (!database.open(RecordsPath(options))) {
    std::fprintf(stderr, "talvora-cli: %s\n", database.error().toLocal8Bit().constData());
    return kBadUsage;
  }
  records::LinkTestRecords kept(database);
  const std::vector<records::KeptLinkTest> tests = kept.List(true);
  if (!kept.Error().isEmpty()) {
    std::fprintf(stderr, "talvora-cli: %s\n", kept.Error().toLocal8Bit().constData());
    return kNotConfirmed;
  }
  QByteArray out;
  if (!options.csv.isEmpty()) {
    QString csv;
    bool first = true;
    for (const records::KeptLinkTest& test : tests) {
      csv += operations::LinkEvaluationsCsv(
          test.evaluations, {"test", "started", "label", "port", "device", "module", "state"},
          {QString::number(test.id), test.setting.started.toString(Qt::ISODateWithMs),
           test.setting.label, test.setting.port, test.setting.device, test.setting.module,
           records::StateName(test.state)},
          first);
      first = false;
    }
    out = csv.toUtf8();
  } else if (options.json) {
    QJsonArray array;
    for (const records::KeptLinkTest& test : tests)
      array.append(TestJson(test));
    out = QJsonDocument(QJsonObject{{"command", "records"}, {"kind", "linktest"}, {"tests", array}})
              .toJson(QJsonDocument::Indented);
  } else {
    QStringList lines;
    for (const records::KeptLinkTest& test : tests) {
      lines << TestLine(test);
      for (const operations::LinkEvaluation& evaluation : test.evaluations)
        lines << "  " + EvaluationLine(evaluation);
    }
    out = lines.isEmpty() ? QByteArray() : (lines.join('\n') + '\n').toLocal8Bit();
  }
  QString error;
  if (!Write(options.csv.isEmpty() ? QString("-") : options.csv, out, error)) {
    std::fprintf(stderr, "talvora-cli: %s\n", error.toLocal8Bit().constData());
    return kNotConfirmed;
  }
  return kAllConfirmed;
}

bool PlotLinkTest(const LinkTestResult& result, const QString& path, QString& error) {
  charts::LinkChart chart;
  chart.Show({{QString(), result.evaluations}});
  return charts::SaveChart(chart, path, error);
}

}  // namespace cli
