// Devices coming and going are reported from file-system events, once a burst has settled.

#include "ports/port_watcher.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace ports {
namespace {

TEST(PortWatcher, ReportsChangesInTheFoldersAndWatchesAFolderOnceItAppears) {
  QTemporaryDir dev;
  const QString byId = dev.path() + "/by-id";
  PortWatcher watcher(nullptr, {dev.path(), byId});
  QSignalSpy changed(&watcher, &PortWatcher::Changed);
  EXPECT_FALSE(changed.wait(500)) << "nothing happened, nothing to say";

  // A burst (node and folder at once) is reported once.
  QFile(dev.path() + "/ttyUSB0").open(QIODevice::WriteOnly);
  QDir().mkdir(byId);
  ASSERT_TRUE(changed.wait(2000));
  EXPECT_FALSE(changed.wait(600));
  EXPECT_EQ(changed.count(), 1);

  // The folder that was missing at first is watched now.
  QFile(byId + "/usb-adapter").open(QIODevice::WriteOnly);
  EXPECT_TRUE(changed.wait(2000));
}

}  // namespace
}  // namespace ports
