#include "ports/port_watcher.h"

#include <QFileInfo>

#include "ports/ports_constants.h"

namespace ports {

QStringList PortWatcher::DeviceFolders() {
  return {QStringLiteral("/dev"), QStringLiteral("/dev/serial"),
          QStringLiteral("/dev/serial/by-id")};
}

PortWatcher::PortWatcher(QObject* parent, const QStringList& folders)
    : QObject(parent), folders_(folders) {
  settle_.setSingleShot(true);
  settle_.setInterval(kHotplugSettle);
  connect(&settle_, &QTimer::timeout, this, &PortWatcher::Changed);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &PortWatcher::OnFolderChanged);
  WatchWhatExists();
}

void PortWatcher::OnFolderChanged() {
  WatchWhatExists();
  settle_.start();
}

void PortWatcher::WatchWhatExists() {
  const QStringList watched = watcher_.directories();
  for (const QString& folder : folders_) {
    if (!watched.contains(folder) && QFileInfo(folder).isDir()) watcher_.addPath(folder);
  }
}

}  // namespace ports
