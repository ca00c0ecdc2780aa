#pragma once

// A register profile: the wanted contents of some registers, kept in a file so that the same
// configuration can be put into many modules and compared later. The windows and talvora-cli
// read and write the same files:
//   {"talvora": "registers", "version": 1, "registers": {"0": 0, "1": 8, "3": 0}}

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

namespace operations {

// Register number to value.
using RegisterProfile = std::map<int, int>;

// The profile in a file's text; nothing, with `error` naming what is wrong (a key, a value, a
// type, the version), when any part of it is. Everything is checked before anything is used.
std::optional<RegisterProfile> ParseProfile(const QByteArray& text, QString& error);
QByteArray ProfileText(const RegisterProfile& profile);

std::optional<RegisterProfile> LoadProfile(const QString& path, QString& error);
bool SaveProfile(const QString& path, const RegisterProfile& profile, QString& error);

}  // namespace operations
