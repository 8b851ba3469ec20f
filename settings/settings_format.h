// The constants of the settings database layout. settings_format.md
// describes the layout with an example; keep the two in step.
#pragma once

#include <cstdint>

namespace vrk {

// PRAGMA application_id of every settings database: "VRK3" in ASCII.
inline constexpr std::int64_t kSettingsApplicationId = 0x56524B33;
// PRAGMA user_version: the layout below.
inline constexpr std::int64_t kSettingsLayoutVersion = 1;

// Creates the layout in an empty database (run inside one transaction).
inline constexpr const char* kSettingsLayoutSql = R"sql(
CREATE TABLE keys(
  id     INTEGER PRIMARY KEY,
  parent INTEGER,
  name   BLOB NOT NULL
);
CREATE UNIQUE INDEX keys_by_name ON keys(parent, name);
CREATE INDEX keys_by_parent ON keys(parent);
CREATE TABLE vals(
  id   INTEGER PRIMARY KEY,
  key  INTEGER NOT NULL,
  name BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL
);
CREATE UNIQUE INDEX vals_by_name ON vals(key, name);
CREATE INDEX vals_by_key ON vals(key);
INSERT INTO keys(id, parent, name) VALUES (1, NULL, x'');
PRAGMA application_id = 1448233779;
PRAGMA user_version = 1;
)sql";

}  // namespace vrk
