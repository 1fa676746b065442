#include "app/version.h"

const char* const kVersionText = "v0.85";
