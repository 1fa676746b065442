// The colour table of one document: 96 indexed colours that styles refer to
// by index, the document's background picture, and the document's named
// string values (the base of relative links among them). Indices 0-7 are the
// named colours (background, text, headline, search, seen anchor, grey, light
// and dark grey), 8-31 the anchor colours, 32-39 the marker colours; index
// i + 48 holds the colour paired with index i (its inverse unless set).
#pragma once

#include "mfc/cstring.h"
#include "text/color_record.h"
#include "text/string_hash_table.h"
#include "text/token_source.h"

class NamedObject;

// The bitwise inverse of a colour, explicit: the paired colour of an entry.
ColorRecord InverseColor(const ColorRecord& color);
// Reads a colour written as "#RRGGBB" or "RRGGBB" (hexadecimal, at most six
// digits). False when neither form gives a number.
bool ParseHexColor(const char* text, DWORD& rgb);

class ColorTable : public NamedValueSource {
 public:
  static constexpr int kSize = 96;
  static constexpr int kPairOffset = 48;
  enum Named : int {
    kBackground = 0,
    kText = 1,
    kHeadline = 2,
    kSearch = 3,
    kSeenAnchor = 4,
    kGray = 5,
    kLightGray = 6,
    kDarkGray = 7,
    kFirstAnchor = 8,   // 24 anchor colours
    kFirstMarker = 32,  // 8 marker colours
  };

  explicit ColorTable(bool withDefaults);
  ColorTable(const ColorTable&) = delete;
  ColorTable& operator=(const ColorTable&) = delete;
  ~ColorTable() override;

  // Takes a reference to the new picture (null allowed) and releases the old.
  virtual void SetPicture(NamedObject* picture);
  virtual NamedObject* GetPicture() const { return picture_; }
  // Values are stored and found under the upper-case form of the name.
  virtual void SetName(const CString& name, const CString& value);
  CString GetName(const CString& name) const override;
  // Indices outside 0..95 are ignored.
  virtual void SetColor(int index, const ColorRecord& color);
  // SetColor, then the inverse (explicit) at index + 48.
  virtual void SetColorPair(int index, const ColorRecord& color);
  // The record at index; record 0 for any index outside 0..95.
  virtual const ColorRecord& GetColor(int index) const;
  // Empties the names; then the defaults again, or all records unset.
  virtual void Clear();
  virtual void SetDefaults();

  bool WithDefaults() const { return withDefaults_; }

 private:
  NamedObject* picture_ = nullptr;
  ColorRecord records_[kSize];
  StringHashTable<CString> names_{53};
  bool withDefaults_;
};
