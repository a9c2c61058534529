#pragma once

#include <cstddef>
#include <filesystem>

#include "build/usage_map_builder.h"
#include "jet/builder.h"

namespace jet::build {

// Knobs the tests turn to reach layouts that otherwise need very large files.
struct BuildOptions {
    // Usage maps whose bitmap would be larger become reference maps (type-0x05 pages).
    std::size_t maxInlineBitmap = kMaxInlineBitmapSize;
};

Status createDatabase(const std::filesystem::path& path, const DatabaseSpec& spec,
                      const BuildOptions& options);

// Checks a table, query or column name: 1 to 64 characters, no control characters, none of
// . ! ` [ ], no leading space. `what` starts the message ("table", "column 'x' of table").
Status validateObjectName(std::u16string_view name, const std::string& what);

}  // namespace jet::build
