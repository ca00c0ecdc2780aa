#include "settings/settings_file.h"

#include <QDir>

namespace settings {

QString SettingsFilePath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.config";
  return base + "/talvora/talvora.conf";
}

std::unique_ptr<QSettings> OpenSettingsFile() {
  return std::make_unique<QSettings>(SettingsFilePath(), QSettings::IniFormat);
}

}  // namespace settings
