#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace ports {

// Says when serial devices may have come or gone: watches the folders where device nodes and
// their stable names appear (inotify, through QFileSystemWatcher), and reports once a burst of
// changes has settled. No polling: nothing runs while nothing changes.
class PortWatcher final : public QObject {
  Q_OBJECT

 public:
  // /dev, /dev/serial and /dev/serial/by-id.
  static QStringList DeviceFolders();

  explicit PortWatcher(QObject* parent = nullptr, const QStringList& folders = DeviceFolders());

 signals:
  void Changed();

 private:
  void OnFolderChanged();
  // Folders that did not exist at first are watched once they appear.
  void WatchWhatExists();

  QStringList folders_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
};

}  // namespace ports
