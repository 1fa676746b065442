#pragma once

// The version the About box and the logo window show.
extern const char* const kVersionText;
