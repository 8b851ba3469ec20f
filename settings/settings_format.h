// The constants of the settings database layout. settings_format.md
// describes the layout with an example; keep the two in step.
#pragma once

#include <cstdint>

namespace vrk {

// PRAGMA application_id of every settings database: "VRK3" in ASCII.
inline constexpr std::int64_t kSettingsApplicationId = 0x56524B33;
// PRAGMA user_version: the layout below. Layout 1 had the same tables
// without AUTOINCREMENT, so the id of the newest key or value came back
// after it was deleted; it is read as it is and rebuilt as layout 2 when it
// is opened for writing.
inline constexpr std::int64_t kSettingsLayoutVersion = 2;
inline constexpr std::int64_t kSettingsOldLayoutVersion = 1;

// Creates the layout in an empty database (run inside one transaction).
inline constexpr const char* kSettingsLayoutSql = R"sql(
CREATE TABLE keys(
  id     INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER,
  name   BLOB NOT NULL
);
CREATE UNIQUE INDEX keys_by_name ON keys(parent, name);
CREATE INDEX keys_by_parent ON keys(parent);
CREATE TABLE vals(
  id   INTEGER PRIMARY KEY AUTOINCREMENT,
  key  INTEGER NOT NULL,
  name BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL
);
CREATE UNIQUE INDEX vals_by_name ON vals(key, name);
CREATE INDEX vals_by_key ON vals(key);
INSERT INTO keys(id, parent, name) VALUES (1, NULL, x'');
PRAGMA application_id = 1448233779;
PRAGMA user_version = 2;
)sql";

// Rebuilds a layout-1 database as layout 2 (run inside one transaction).
// Every row keeps its id, so the enumeration order stays as it was; the
// counter of ids handed out starts above the highest id in each table.
inline constexpr const char* kSettingsUpgradeSql = R"sql(
CREATE TABLE keys_new(
  id     INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER,
  name   BLOB NOT NULL
);
INSERT INTO keys_new(id, parent, name) SELECT id, parent, name FROM keys ORDER BY id;
DROP TABLE keys;
ALTER TABLE keys_new RENAME TO keys;
CREATE UNIQUE INDEX keys_by_name ON keys(parent, name);
CREATE INDEX keys_by_parent ON keys(parent);
CREATE TABLE vals_new(
  id   INTEGER PRIMARY KEY AUTOINCREMENT,
  key  INTEGER NOT NULL,
  name BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL
);
INSERT INTO vals_new(id, key, name, type, data)
  SELECT id, key, name, type, data FROM vals ORDER BY id;
DROP TABLE vals;
ALTER TABLE vals_new RENAME TO vals;
CREATE UNIQUE INDEX vals_by_name ON vals(key, name);
CREATE INDEX vals_by_key ON vals(key);
PRAGMA user_version = 2;
)sql";

}  // namespace vrk
