#include "operations/register_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "files/safe_file_qt.h"
#include "operations/json_scan.h"
#include "operations/number_text.h"
#include "operations/page_views.h"

namespace operations {
namespace {

constexpr const char* kKind = "registers";
constexpr int kVersion = 1;
// Far more than any profile needs; a larger file is not one.
constexpr qsizetype kLargestFile = 1 << 20;

// "0" to "31", written as the file writes them: decimal, no sign, no leading zeros.
std::optional<int> RegisterKey(const QString& key) {
  QString ignored;
  const auto n = ParseRegisterNumber(key, ignored);
  if (!n || QString::number(*n) != key) return std::nullopt;
  return n;
}

// A JSON value as the file shows it: 12, "12", true, null, [1].
QString Shown(const QJsonValue& value) {
  return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
      .mid(1)
      .chopped(1);
}

}  // namespace

std::optional<RegisterProfile> ParseProfile(const QByteArray& text, QString& error) {
  if (text.size() > kLargestFile) {
    error = QString("larger than %1 bytes, too large for a register profile").arg(kLargestFile);
    return std::nullopt;
  }
  // The JSON reader would stop at a NUL byte and ignore the rest.
  if (const qsizetype nul = text.indexOf('\0'); nul >= 0) {
    error = QString("a NUL byte at byte %1: a register profile is text").arg(nul + 1);
    return std::nullopt;
  }
  QJsonParseError parsed{};
  const QJsonDocument document = QJsonDocument::fromJson(text, &parsed);
  if (parsed.error != QJsonParseError::NoError) {
    error = QString("not JSON: %1 at character %2").arg(parsed.errorString()).arg(parsed.offset);
    return std::nullopt;
  }
  if (const auto problem = JsonStrictnessProblem(text)) {
    error = *problem;
    return std::nullopt;
  }
  const QJsonObject root = document.object();
  if (!document.isObject() || root.value("talvora").toString() != kKind) {
    error = "not a register profile (\"talvora\": \"registers\" is missing)";
    return std::nullopt;
  }
  const QJsonValue version = root.value("version");
  if (version.isUndefined()) {
    error = "\"version\" is missing";
    return std::nullopt;
  }
  if (!version.isDouble() || version.toDouble() != kVersion) {
    error = QString("version %1 is not one this program reads (it reads version %2)")
                .arg(Shown(version))
                .arg(kVersion);
    return std::nullopt;
  }
  if (!root.value("registers").isObject()) {
    error = "\"registers\" must be an object of register numbers and values";
    return std::nullopt;
  }
  const QJsonObject registers = root.value("registers").toObject();
  RegisterProfile profile;
  for (auto it = registers.begin(); it != registers.end(); ++it) {
    const auto n = RegisterKey(it.key());
    if (!n) {
      error = QString("register \"%1\" does not exist (registers are \"0\" to \"%2\")")
                  .arg(it.key())
                  .arg(kRegisterCount - 1);
      return std::nullopt;
    }
    const double value = it.value().toDouble(-1);
    // In range before it is made an int: a number beyond int converts to nothing defined.
    if (!it.value().isDouble() || !(value >= 0 && value <= kHighestValue) ||
        value != std::trunc(value)) {
      error = QString("register %1: %2 is not a value from 0 to %3")
                  .arg(*n)
                  .arg(Shown(it.value()))
                  .arg(kHighestValue);
      return std::nullopt;
    }
    profile[*n] = static_cast<int>(value);
  }
  return profile;
}

QByteArray ProfileText(const RegisterProfile& profile) {
  QJsonObject registers;
  for (const auto& [n, value] : profile)
    registers[QString::number(n)] = value;
  const QJsonObject root{{"talvora", kKind}, {"version", kVersion}, {"registers", registers}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<RegisterProfile> LoadProfile(const QString& path, QString& error) {
  // Opened without waiting: a FIFO nobody writes to would hold the open for ever. Once open,
  // reads may wait, as a pipe from a running program needs; one without a writer ends at once.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    error = QString("cannot read %1: %2")
                .arg(path, fd >= 0 && S_ISDIR(status.st_mode)
                               ? QString("it is a folder")
                               : QString::fromLocal8Bit(std::strerror(errno)));
    if (fd >= 0) ::close(fd);
    return std::nullopt;
  }
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    error = QString("cannot read %1: %2").arg(path, file.errorString());
    return std::nullopt;
  }
  // Read no further than a profile can reach: /dev/zero has no end.
  auto profile = ParseProfile(file.read(kLargestFile + 1), error);
  if (!profile) error = path + ": " + error;
  return profile;
}

bool SaveProfile(const QString& path, const RegisterProfile& profile, QString& error) {
  // Written whole or not at all: a profile half written is worse than none.
  return files::ReplaceFile(path, ProfileText(profile), error);
}

}  // namespace operations
