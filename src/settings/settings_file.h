#pragma once

// The program's one settings file, an INI file read and written through QSettings:
// $XDG_CONFIG_HOME/talvora/talvora.conf, or ~/.config/talvora/talvora.conf. Every part of the
// program that keeps something between runs keeps it here, each in its own [section].

#include <QSettings>
#include <QString>
#include <memory>

namespace settings {

// Where the file is. XDG_CONFIG_HOME counts only when it is an absolute path.
QString SettingsFilePath();

// The file through QSettings in the INI format. Writes reach the disk at sync() or when the
// object is destroyed.
std::unique_ptr<QSettings> OpenSettingsFile();

}  // namespace settings
