#include "text/style/color_table.h"

#include <cstdio>

#include "core/named_list.h"

bool ParseHexColor(const char* text, DWORD& rgb) {
  if (!text) return false;
  unsigned value = 0;
  if (std::sscanf(text, "#%6X", &value) == 1 || std::sscanf(text, "%6X", &value) == 1) {
    rgb = value;
    return true;
  }
  return false;
}

ColorRecord InverseColor(const ColorRecord& c) {
  return ColorRecord::Rgb(static_cast<BYTE>(~c.red), static_cast<BYTE>(~c.green), static_cast<BYTE>(~c.blue));
}

ColorTable::ColorTable(bool withDefaults) : withDefaults_(withDefaults) {
  if (withDefaults_) SetDefaults();
}

ColorTable::~ColorTable() {
  if (picture_) picture_->release();
}

void ColorTable::SetPicture(NamedObject* picture) {
  if (picture) picture->acquire();
  if (picture_) picture_->release();
  picture_ = picture;
}

namespace {

CString upper(const CString& name) {
  CString key(name);
  key.MakeUpper();
  return key;
}

}  // namespace

void ColorTable::SetName(const CString& name, const CString& value) { names_.Insert(upper(name), value); }

CString ColorTable::GetName(const CString& name) const {
  auto* node = names_.Find(upper(name).view());
  return node ? node->value : CString();
}

void ColorTable::SetColor(int index, const ColorRecord& color) {
  if (index < 0 || index >= kSize) return;
  records_[index] = color;
}

void ColorTable::SetColorPair(int index, const ColorRecord& color) {
  SetColor(index, color);
  SetColor(index + kPairOffset, InverseColor(color));
}

const ColorRecord& ColorTable::GetColor(int index) const {
  if (index < 0 || index >= kSize) return records_[0];
  return records_[index];
}

void ColorTable::Clear() {
  names_.Clear();
  if (withDefaults_) {
    SetDefaults();
    return;
  }
  for (ColorRecord& r : records_) r = ColorRecord();
}

void ColorTable::SetDefaults() {
  static const BYTE kNamed[8][3] = {{127, 127, 127}, {0, 0, 0},       {191, 0, 0},     {191, 191, 0},
                                    {0, 0, 191},     {127, 127, 127}, {191, 191, 191}, {63, 63, 63}};
  static const BYTE kBand[8][3] = {{191, 0, 0},   {0, 191, 0},     {0, 0, 191},     {191, 191, 0},
                                   {191, 0, 191}, {191, 191, 191}, {0, 191, 191},   {127, 127, 127}};
  for (int i = 0; i < 8; ++i) SetColorPair(i, ColorRecord::Rgb(kNamed[i][0], kNamed[i][1], kNamed[i][2]));
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < 8; ++i)
      SetColorPair(kFirstAnchor + 8 * k + i, ColorRecord::Rgb(kBand[i][0], kBand[i][1], kBand[i][2]));
}
