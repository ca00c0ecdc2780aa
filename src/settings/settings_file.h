#pragma once

// The program's one settings file, an INI file read and written through QSettings:
// $XDG_CONFIG_HOME/talvora/talvora.conf, or ~/.config/talvora/talvora.conf. Every part of the
// program that keeps something between runs keeps it here, each in its own [section].

#include <QSettings>
#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace settings {

// Where the file is. XDG_CONFIG_HOME counts only when it is an absolute path.
QString SettingsFilePath();

// The file through QSettings in the INI format, for reading: every change goes through
// ChangeSettingsFile.
std::unique_ptr<QSettings> OpenSettingsFile();

// Applies `change` to the file's current contents and replaces the file with the result
// through a synced temporary file, so that a full disk or a crash leaves the old file whole.
// The caller checks first that the file is well formed: rewriting a malformed file would lose
// what its author meant. False, with `problem` saying why, when the file cannot be written.
bool ChangeSettingsFile(const std::function<void(QSettings&)>& change, std::string& problem);

}  // namespace settings
