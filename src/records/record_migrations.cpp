#include "records/record_migrations.h"

#include "records/link_test_records.h"
#include "records/station_schema.h"

namespace records {

const std::vector<Migration>& recordMigrations() {
  static const std::vector<Migration> steps = {
      {1, stationModulesTable()},
      {2, linkTestTables()},
  };
  return steps;
}

}  // namespace records
