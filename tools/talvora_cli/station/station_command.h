#pragma once

#include <QStringList>
#include <optional>

namespace station {

// Runs `station`, `records` or the hidden `station-port` (a port's process) when the command
// line's command is one of them; nothing otherwise. Returns the exit status.
std::optional<int> RunStationCommand(const QStringList& arguments);

// Texts of the help for these commands.
QString StationHelp();

}  // namespace station
