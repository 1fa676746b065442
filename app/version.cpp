#include "app/version.h"

// The number is the project's, as the build states it.
const char* const kVersionText = "v" ZEMRA_VERSION;
