#pragma once

#include <QStringList>
#include <vector>

namespace records {

// One step of the schema: the statements that take a database from `version - 1` to `version`.
// Steps run in order, each inside the transaction that also sets the new version, so a database
// is always at one version or the next, never between.
struct Migration {
  int version = 0;
  QStringList statements;
};

// Every step of the records' schema, oldest first, with consecutive versions from 1. A new kind
// of record adds its tables as the next step at the end; a step once released never changes.
const std::vector<Migration>& recordMigrations();

}  // namespace records
