#include "ports/port_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "ports/port_names.h"
#include "settings/settings_file.h"

namespace ports {
namespace {

constexpr const char* kSection = "ports";

QString Unquoted(QString value) {
  value = value.trimmed();
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
    value = value.mid(1, value.size() - 2);
  }
  return value;
}

// What is wrong with one line of the file, or nothing. `section` follows the section headers.
QString LineProblem(const QString& raw, QString& section) {
  const QString line = raw.trimmed();
  if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) return {};
  if (line.startsWith('[')) {
    if (!line.endsWith(']') || line.size() < 3) return "not a section header: " + line;
    section = line.mid(1, line.size() - 2).trimmed();
    return {};
  }
  const auto equals = line.indexOf('=');
  if (equals <= 0) return "not a setting (name=value): " + line;
  if (section != QLatin1String(kSection)) return {};
  const QString key = line.left(equals).trimmed();
  if (ComNumber(key.toStdString()) == 0) {
    return "'" + key + "' is not a port name (COM1 to COM" + QString::number(kComCount) + ")";
  }
  if (Unquoted(line.mid(equals + 1)).isEmpty()) return key + " names no device";
  return {};
}

QStringList Problems(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QStringList problems;
  QString section;
  int number = 0;
  while (!file.atEnd()) {
    ++number;
    const QString problem = LineProblem(QString::fromUtf8(file.readLine()), section);
    if (!problem.isEmpty()) problems << path + ":" + QString::number(number) + ": " + problem;
  }
  return problems;
}

}  // namespace

PortSettings ReadPortSettings() {
  PortSettings result;
  const QString path = settings::SettingsFilePath();
  if (!QFileInfo::exists(path)) return result;
  for (const QString& problem : Problems(path))
    result.problems.push_back(problem.toStdString());
  if (!result.problems.empty()) return result;

  const auto file = settings::OpenSettingsFile();
  file->beginGroup(kSection);
  for (int number = 1; number <= kComCount; ++number) {
    const QString key = QString::fromStdString(ComName(number));
    if (!file->contains(key)) continue;
    // An unquoted value with commas ("sim:host=7,remotes=5") reads back as a list.
    const QVariant value = file->value(key);
    const QString device = value.typeId() == QMetaType::QStringList ? value.toStringList().join(',')
                                                                    : value.toString();
    if (!device.trimmed().isEmpty())
      result.devices[ComName(number)] = device.trimmed().toStdString();
  }
  return result;
}

bool SavePortSetting(const std::string& name, const std::string& device, std::string& problem) {
  const PortSettings current = ReadPortSettings();
  if (!current.problems.empty()) {
    problem = current.problems.front() + "; correct the file before choosing here";
    return false;
  }
  const QString path = settings::SettingsFilePath();
  QDir().mkpath(QFileInfo(path).absolutePath());
  const auto file = settings::OpenSettingsFile();
  const QString key = QString(kSection) + "/" + QString::fromStdString(name);
  if (device.empty()) {
    file->remove(key);
  } else {
    file->setValue(key, QString::fromStdString(device));
  }
  file->sync();
  if (file->status() != QSettings::NoError) {
    problem = "cannot write " + path.toStdString();
    return false;
  }
  return true;
}

void ReportSettingsProblems(const PortSettings& settings) {
  static std::vector<std::string> reported;
  if (settings.problems == reported) return;
  reported = settings.problems;
  for (const std::string& problem : settings.problems)
    std::fprintf(stderr, "talvora: %s (the settings file is ignored)\n", problem.c_str());
}

}  // namespace ports
