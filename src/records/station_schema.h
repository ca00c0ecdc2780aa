#pragma once

#include <QStringList>

namespace records {

// The table of modules a programming station handled: one row per module, written in one
// transaction when the module's job ends, so a row is either whole or absent.
QStringList stationModulesTable();

}  // namespace records
