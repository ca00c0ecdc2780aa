#pragma once

// The safe replacement of a file for callers holding Qt's strings; the file system sees the
// path in the locale's encoding, as QFile would.

#include <QByteArray>
#include <QFile>
#include <QString>

#include "files/safe_file.h"

namespace files {

inline bool ReplaceFile(const QString& path, const QByteArray& contents, QString& problem) {
  std::string said;
  if (ReplaceFile(QFile::encodeName(path).toStdString(), contents.toStdString(), said)) return true;
  problem = QString::fromLocal8Bit(said);
  return false;
}

inline bool CheckReplaceable(const QString& path, QString& problem) {
  std::string said;
  if (CheckReplaceable(QFile::encodeName(path).toStdString(), said)) return true;
  problem = QString::fromLocal8Bit(said);
  return false;
}

}  // namespace files
