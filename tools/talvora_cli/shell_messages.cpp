#include "shell_messages.h"

#include "operations/number_text.h"
#include "serial/open_failure.h"
#include "settings/settings_file.h"

namespace cli {

platform::AppError ForTheShell(const platform::AppError& error) {
  win32::OpenFailure failure = win32::LastOpenFailure();
  if (failure.fix.find("context menu") != std::string::npos ||
      failure.fix.find("pressing OK") != std::string::npos) {
    failure.fix =
        "give --port another device, or map the COM name to one in the [ports] "
        "section of " +
        settings::SettingsFilePath().toStdString() + " (talvora-cli ports lists the devices)";
  }
  for (std::size_t at = 0; (at = failure.fix.find("talvora --list-ports")) != std::string::npos;)
    failure.fix.replace(at, 20, "talvora-cli ports");
  if (error.Detail() != win32::DescribeOpenFailure(win32::LastOpenFailure())) return error;
  return {error.Number(), error.Source(), error.Description(), win32::DescribeOpenFailure(failure)};
}

std::optional<QString> FirstOutsideLatin1(const QString& message) {
  const QList<uint> characters = message.toUcs4();
  for (qsizetype i = 0; i < characters.size(); ++i) {
    const char32_t c = characters[i];
    if (c <= 0xff) continue;
    return QString(
               "the message cannot be sent byte for byte: character %1, %2 (U+%3), is not "
               "Latin-1, and only Latin-1 characters have a byte of their own")
        .arg(i + 1)
        .arg(operations::Quoted(QString::fromUcs4(&c, 1)))
        .arg(QString::number(static_cast<unsigned>(c), 16).toUpper().rightJustified(4, u'0'));
  }
  return std::nullopt;
}

}  // namespace cli
