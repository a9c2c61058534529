#pragma once

#include "build/page_file.h"

namespace jet::build {

// Page 0 of a new database: Jet 4, code page 1252, General sort order (1033, version 0), no
// encryption, an empty password (which, under the date mask, is stored as the date pattern),
// the given creation date, and every commit slot idle.
Page headerPage(double creationDate);

}  // namespace jet::build
