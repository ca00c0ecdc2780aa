#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "files/safe_file.h"

namespace settings {

QString SettingsFilePath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.config";
  return base + "/talvora/talvora.conf";
}

std::unique_ptr<QSettings> OpenSettingsFile() {
  return std::make_unique<QSettings>(SettingsFilePath(), QSettings::IniFormat);
}

bool ChangeSettingsFile(const std::function<void(QSettings&)>& change, std::string& problem) {
  const QString path = SettingsFilePath();
  QByteArray current;
  if (QFileInfo::exists(path)) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      problem = "cannot read " + path.toStdString() + ": " + file.errorString().toStdString();
      return false;
    }
    current = file.readAll();
  }
  // QSettings writes the file itself: it works on a copy, and the copy's text replaces the file.
  const QTemporaryDir scratch;
  const QString copyPath = scratch.filePath("talvora.conf");
  QFile copy(copyPath);
  if (!scratch.isValid() || !copy.open(QIODevice::WriteOnly) ||
      copy.write(current) != current.size() || !copy.flush()) {
    problem = "cannot write " + path.toStdString() + ": no room for a working copy";
    return false;
  }
  copy.close();
  {
    QSettings edited(copyPath, QSettings::IniFormat);
    change(edited);
    edited.sync();
    if (edited.status() != QSettings::NoError) {
      problem = "cannot write " + path.toStdString() + ": the settings could not be written";
      return false;
    }
  }
  if (!copy.open(QIODevice::ReadOnly)) {
    problem = "cannot write " + path.toStdString() + ": " + copy.errorString().toStdString();
    return false;
  }
  const QByteArray changed = copy.readAll();
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    problem = "cannot write " + path.toStdString() + ": its folder cannot be made";
    return false;
  }
  return files::ReplaceFile(QFile::encodeName(path).toStdString(), changed.toStdString(), problem);
}

}  // namespace settings
