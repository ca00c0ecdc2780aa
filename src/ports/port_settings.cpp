#include "ports/port_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <cstdio>
#include <map>

#include "ports/port_names.h"
#include "settings/settings_file.h"

namespace ports {
namespace {

constexpr const char* kSection = "ports";
constexpr qint64 kLargestFile = 1024 * 1024;

QString Unquoted(QString value) {
  value = value.trimmed();
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
    value = value.mid(1, value.size() - 2).trimmed();
  }
  return value;
}

// A line of the file as it may be shown on a terminal: control bytes, and every byte above
// 127 where the line is not UTF-8, written as \xNN.
QString Printable(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString decoded = decoder.decode(bytes);
  const bool utf8 = !decoder.hasError();
  QString text;
  if (utf8) {
    for (const QChar c : decoded) {
      if (c.unicode() < 0x20 || c.unicode() == 0x7f ||
          (c.unicode() >= 0x80 && c.unicode() < 0xa0)) {
        text += QString("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
      } else {
        text += c;
      }
    }
    return text;
  }
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x20 || code >= 0x7f) {
      text += QString("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
    } else {
      text += QLatin1Char(byte);
    }
  }
  return text;
}

// What the checks of one file remember from line to line.
struct Reading {
  QString section;
  std::map<QString, int> portLines;            // COM name -> the line that set it
  std::map<std::string, std::string> devices;  // COM name -> its device, as read
};

// What is wrong with one line of the file, or nothing.
QString LineProblem(const QByteArray& bytes, int number, Reading& reading) {
  const QString raw = QString::fromUtf8(bytes);
  const QString line = raw.trimmed();
  if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) return {};
  if (bytes.contains('\0') || raw.contains(QChar::ReplacementCharacter)) {
    return "not text: " + Printable(bytes.trimmed());
  }
  if (line.startsWith('[')) {
    if (!line.endsWith(']') || line.size() < 3)
      return "not a section header: " + Printable(bytes.trimmed());
    reading.section = line.mid(1, line.size() - 2).trimmed();
    // Section names are told apart by case: the devices under [Ports] would be lost.
    if (reading.section != QLatin1String(kSection) &&
        reading.section.compare(QLatin1String(kSection), Qt::CaseInsensitive) == 0) {
      return "[" + reading.section + "] is not a section of this file: write [" + kSection + "]";
    }
    return {};
  }
  const auto equals = line.indexOf('=');
  if (equals <= 0) return "not a setting (name=value): " + Printable(bytes.trimmed());
  if (reading.section != QLatin1String(kSection)) return {};
  const QString key = line.left(equals).trimmed();
  if (ComNumber(key.toStdString()) == 0) {
    return "'" + Printable(key.toUtf8()) + "' is not a port name (COM1 to COM" +
           QString::number(kComCount) + ")";
  }
  const auto [first, added] = reading.portLines.emplace(key, number);
  if (!added) return key + " is given twice (first on line " + QString::number(first->second) + ")";
  const QString device = Unquoted(line.mid(equals + 1));
  if (device.isEmpty()) return key + " names no device";
  if (Printable(device.toUtf8()) != device) {
    return key + " names a device with control characters: " + Printable(device.toUtf8());
  }
  // Quotes only around the whole name; the program never writes an escape.
  if (device.contains('"') || device.contains('\\'))
    return key + " names a device with a stray quote or a backslash: " + device;
  reading.devices[ComName(ComNumber(key.toStdString()))] = device.toStdString();
  return {};
}

QStringList Problems(const QString& path, Reading& reading) {
  QFile file(path);
  const QFileInfo info(path);
  if (info.isDir()) return {path + ": a folder stands where the settings file belongs"};
  // A device or a FIFO in its place would be read for ever.
  if (!info.isFile()) return {path + ": not a regular file"};
  if (info.size() > kLargestFile) return {path + ": larger than any settings file (1 MiB)"};
  if (!file.open(QIODevice::ReadOnly)) return {path + ": cannot be read: " + file.errorString()};
  QStringList problems;
  int number = 0;
  while (!file.atEnd()) {
    ++number;
    QByteArray bytes = file.readLine();
    if (bytes.endsWith('\n')) bytes.chop(1);
    const QString problem = LineProblem(bytes, number, reading);
    if (!problem.isEmpty()) problems << path + ":" + QString::number(number) + ": " + problem;
  }
  if (file.error() != QFileDevice::NoError) {
    problems << path + ": cannot be read: " + file.errorString();
  }
  return problems;
}

}  // namespace

PortSettings ReadPortSettings() {
  PortSettings result;
  const QString path = settings::SettingsFilePath();
  if (!QFileInfo::exists(path)) return result;
  // The devices are taken as the checks read them, never by another reading of the file.
  Reading reading;
  for (const QString& problem : Problems(path, reading))
    result.problems.push_back(problem.toStdString());
  if (result.problems.empty()) result.devices = std::move(reading.devices);
  return result;
}

bool SavePortSetting(const std::string& name, const std::string& device, std::string& problem) {
  const PortSettings current = ReadPortSettings();
  if (!current.problems.empty()) {
    problem = current.problems.front() + "; correct the file before choosing here";
    return false;
  }
  // What the file could not give back as it was written is not written.
  const QString shown = QString::fromStdString(device);
  if (shown.trimmed() != shown || shown.contains('"') || shown.contains('\\') ||
      Printable(shown.toUtf8()) != shown) {
    problem = "the device '" + Printable(device.c_str()).toStdString() +
              "' has blanks around it, a quote, a backslash or a control character";
    return false;
  }
  const QString key = QString(kSection) + "/" + QString::fromStdString(name);
  return settings::ChangeSettingsFile(
      [&](QSettings& file) {
        if (device.empty()) {
          file.remove(key);
        } else {
          file.setValue(key, QString::fromStdString(device));
        }
      },
      problem);
}

void ReportSettingsProblems(const PortSettings& settings) {
  static std::vector<std::string> reported;
  if (settings.problems == reported) return;
  reported = settings.problems;
  for (const std::string& problem : settings.problems)
    std::fprintf(stderr, "talvora: %s (the settings file is ignored)\n", problem.c_str());
}

}  // namespace ports
