// Draw styles: what a numbered display style stands for when it is drawn
// (font face and size, strike-out, character set, pen width, the colour-table
// indices and fill patterns for normal and highlighted drawing). The
// configured styles come from the settings file ([Styles] DrawStyles = n and
// one [DrawStyle i] section each); 64 built-in styles serve the view's own
// drawing (selection, marker bands, rules, the document background).
//
// Both tables are made on the first lookup and live until Unload. A lookup
// never fails: a descriptor naming a style outside the tables (none
// configured, a number beyond the configured count, below the built-in
// range, or no style at all) is drawn with built-in style 0.
#pragma once

#include <vector>

#include "mfc/cstring.h"
#include "text/style/font_descriptor.h"
#include "win/types.h"

class ColorTable;

// Fill patterns: 0-9 hatched brushes, 15 solid, anything else no fill.
constexpr LONG kSolidFill = 15;
constexpr LONG kNoFill = 16;

struct DrawStyle {
  BYTE loaded = 0;
  CString face;
  LONG size = 14;
  BYTE strikeOut = 0;
  BYTE charSet = 0;
  LONG lineColor = 0;
  LONG hatch = 0;
  LONG fillColor = 0;
  LONG penWidth = 0;
  LONG highlightColor = 0;
  LONG highlightHatch = 0;
  LONG highlightFill = 0;

  // Colour-table indices for lines and text, and for fills (see the rules
  // in draw_styles.cpp).
  LONG LineColorIndex(const FontDescriptor& d) const;
  LONG FillColorIndex(const FontDescriptor& d) const;
};

class DrawStyles {
 public:
  static constexpr int kBuiltInCount = 64;
  // The most configured styles read; a larger DrawStyles value is cut.
  static constexpr int kMaxProfileStyles = 4096;

  static const DrawStyle& Lookup(const FontDescriptor& d);
  static void Unload();
  // The number of configured styles; -1 while not loaded.
  static int ProfileCount();

  // The colour-table index of a DrawColor name (upper-cased): the eight
  // named colours, ANCHOR0-23, MARKER0-7; any other name is TEXT (1).
  static int ColorIndexOfName(const CString& name);
};

// The default colours and the [Color] section of the settings into a
// document's colour table.
void LoadColors(ColorTable& table);

// Reads values from the running application's settings file (defaults
// without one); the draw styles and the text viewer's settings come from it.
CString TextProfileString(const char* section, const char* key, const char* def);
int TextProfileInt(const char* section, const char* key, int def);
// The settings file's name, for messages; empty without an application.
CString TextProfileFileName();
