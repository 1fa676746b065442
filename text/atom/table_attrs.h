// What the builder hands a new table and a new table cell, as the table and
// cell actions of the definition files fill them.
#pragma once

#include "win/types.h"

struct TableAttrs {
  LONG border = 0;
  LONG spacing = 2;
  LONG padding = 1;
  LONG width = 0;
  BYTE hasWidth = 0;
  BYTE widthPercent = 0;
  BYTE wrap = 0;
};

struct CellAttrs {
  LONG rowSpan = 1;
  LONG colSpan = 1;
  LONG width = 0;
  LONG reserved = 0;  // carried along, read by nobody
  BYTE widthPercent = 0;
};
