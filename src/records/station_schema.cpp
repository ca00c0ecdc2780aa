#include "records/station_schema.h"

namespace records {

QStringList stationModulesTable() {
  // Registers are kept as a JSON array of 32 entries (null where the module gave no value, or,
  // after programming, where the profile names no register), so a row reads alone.
  return {
      R"(CREATE TABLE station_modules (
  id INTEGER PRIMARY KEY,
  started TEXT NOT NULL,
  finished TEXT NOT NULL,
  host TEXT NOT NULL,
  port TEXT NOT NULL,
  device TEXT NOT NULL,
  adapter TEXT,
  adapter_serial TEXT,
  profile TEXT NOT NULL,
  profile_sha256 TEXT NOT NULL,
  before TEXT NOT NULL,
  after TEXT NOT NULL,
  verdict TEXT NOT NULL CHECK (verdict IN ('pass', 'fail', 'interrupted')),
  detail TEXT NOT NULL,
  read_ms INTEGER,
  program_ms INTEGER,
  verify_ms INTEGER,
  total_ms INTEGER NOT NULL
))",
      "CREATE INDEX station_modules_started ON station_modules (started)",
      "CREATE INDEX station_modules_port ON station_modules (port)",
  };
}

}  // namespace records
