#include "gdi/fonts/face_names.h"

#include <cstddef>
#include <iterator>

namespace win::gdi::fonts {

namespace {

constexpr BYTE kSerif = VARIABLE_PITCH | FF_ROMAN;
constexpr BYTE kSans = VARIABLE_PITCH | FF_SWISS;
constexpr BYTE kMono = FIXED_PITCH | FF_MODERN;

const KnownFamily kLiberationSerif{"Liberation Serif", "LiberationSerif-Regular.ttf",
                                   "LiberationSerif-Bold.ttf", "LiberationSerif-Italic.ttf",
                                   "LiberationSerif-BoldItalic.ttf", kSerif, ANSI_CHARSET};
const KnownFamily kLiberationSans{"Liberation Sans", "LiberationSans-Regular.ttf",
                                  "LiberationSans-Bold.ttf", "LiberationSans-Italic.ttf",
                                  "LiberationSans-BoldItalic.ttf", kSans, ANSI_CHARSET};
const KnownFamily kLiberationMono{"Liberation Mono", "LiberationMono-Regular.ttf",
                                  "LiberationMono-Bold.ttf", "LiberationMono-Italic.ttf",
                                  "LiberationMono-BoldItalic.ttf", kMono, ANSI_CHARSET};
const KnownFamily kDejaVuSans{"DejaVu Sans", "DejaVuSans.ttf", "DejaVuSans-Bold.ttf",
                              "DejaVuSans-Oblique.ttf", "DejaVuSans-BoldOblique.ttf", kSans,
                              ANSI_CHARSET};
const KnownFamily kDejaVuSerif{"DejaVu Serif", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf",
                               "DejaVuSerif-Italic.ttf", "DejaVuSerif-BoldItalic.ttf", kSerif,
                               ANSI_CHARSET};
const KnownFamily kDejaVuMono{"DejaVu Sans Mono", "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf",
                              "DejaVuSansMono-Oblique.ttf", "DejaVuSansMono-BoldOblique.ttf",
                              kMono, ANSI_CHARSET};
const KnownFamily kIpaGothic{"IPAGothic", "ipag.ttf", nullptr, nullptr, nullptr, kMono,
                             SHIFTJIS_CHARSET};
const KnownFamily kIpaPGothic{"IPAPGothic", "ipagp.ttf", nullptr, nullptr, nullptr, kSans,
                              SHIFTJIS_CHARSET};
const KnownFamily kNanumGothic{"NanumGothic", "NanumGothic.ttf", "NanumGothicBold.ttf", nullptr,
                               nullptr, kSans, HANGUL_CHARSET};
const KnownFamily kNanumMyeongjo{"NanumMyeongjo", "NanumMyeongjo.ttf", "NanumMyeongjoBold.ttf",
                                 nullptr, nullptr, kSerif, HANGUL_CHARSET};
const KnownFamily kNanumCoding{"NanumGothicCoding", "NanumGothicCoding.ttf",
                               "NanumGothicCodingBold.ttf", nullptr, nullptr, kMono,
                               HANGUL_CHARSET};

// Windows names first (the order EnumFontFamilies offers them in), then the
// families under their own names, then spellings that only find a face.
const FaceAlias kAliases[] = {
    {"Arial", &kLiberationSans, "Arial", false},
    {"Courier New", &kLiberationMono, "Courier New", false},
    {"Times New Roman", &kLiberationSerif, "Times New Roman", false},
    {"MS Sans Serif", &kLiberationSans, "MS Sans Serif", false},
    {"MS Serif", &kLiberationSerif, "MS Serif", false},
    {"Courier", &kLiberationMono, "Courier", false},
    {"System", &kLiberationSans, "System", true},
    {"Fixedsys", &kLiberationMono, "Fixedsys", false},
    {"Terminal", &kLiberationMono, "Terminal", false},
    {"MS Gothic", &kIpaGothic, "MS Gothic", false},
    {"MS PGothic", &kIpaPGothic, "MS PGothic", false},
    {"Gulim", &kNanumGothic, "Gulim", false},
    {"Batang", &kNanumMyeongjo, "Batang", false},
    {"Liberation Sans", &kLiberationSans, "Liberation Sans", false},
    {"Liberation Serif", &kLiberationSerif, "Liberation Serif", false},
    {"Liberation Mono", &kLiberationMono, "Liberation Mono", false},
    {"DejaVu Sans", &kDejaVuSans, "DejaVu Sans", false},
    {"DejaVu Serif", &kDejaVuSerif, "DejaVu Serif", false},
    {"DejaVu Sans Mono", &kDejaVuMono, "DejaVu Sans Mono", false},
    {"IPAGothic", &kIpaGothic, "IPAGothic", false},
    {"IPAPGothic", &kIpaPGothic, "IPAPGothic", false},
    {"NanumGothic", &kNanumGothic, "NanumGothic", false},
    {"NanumMyeongjo", &kNanumMyeongjo, "NanumMyeongjo", false},
    {"NanumGothicCoding", &kNanumCoding, "NanumGothicCoding", false},
    // Other spellings.
    {"Helvetica", &kLiberationSans, "Arial", false},
    {"Helv", &kLiberationSans, "MS Sans Serif", false},
    {"Microsoft Sans Serif", &kLiberationSans, "Microsoft Sans Serif", false},
    {"MS Shell Dlg", &kLiberationSans, "MS Sans Serif", false},
    {"MS Shell Dlg 2", &kLiberationSans, "MS Sans Serif", false},
    {"Small Fonts", &kLiberationSans, "Small Fonts", false},
    {"Times", &kLiberationSerif, "Times New Roman", false},
    {"Tms Rmn", &kLiberationSerif, "Times New Roman", false},
    {"MS UI Gothic", &kIpaPGothic, "MS UI Gothic", false},
    {"MS Mincho", &kIpaGothic, "MS Mincho", false},
    {"MS PMincho", &kIpaPGothic, "MS PMincho", false},
    {"Osaka", &kIpaGothic, "Osaka", false},
    {"\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e", &kIpaGothic, "MS Gothic", false},
    {"\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", &kIpaPGothic, "MS PGothic",
     false},
    {"\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9", &kIpaGothic, "MS Mincho", false},
    {"GulimChe", &kNanumCoding, "GulimChe", false},
    {"Dotum", &kNanumGothic, "Dotum", false},
    {"DotumChe", &kNanumCoding, "DotumChe", false},
    {"BatangChe", &kNanumMyeongjo, "BatangChe", false},
    {"Gungsuh", &kNanumMyeongjo, "Gungsuh", false},
    {"\xb1\xbc\xb8\xb2", &kNanumGothic, "Gulim", false},
    {"\xb1\xbc\xb8\xb2\xc3\xbc", &kNanumCoding, "GulimChe", false},
    {"\xb5\xb8\xbf\xf2", &kNanumGothic, "Dotum", false},
    {"\xb9\xd9\xc5\xc1", &kNanumMyeongjo, "Batang", false},
};

// How many entries at the front of kAliases EnumFontFamilies lists.
constexpr int kEnumerable = 24;

const FaceAlias& Named(const char* name) {
  for (const FaceAlias& a : kAliases) {
    if (EqualNoCase(a.windowsName, name)) return a;
  }
  return kAliases[0];
}

}  // namespace

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

const FaceAlias* FindFaceAlias(std::string_view face) {
  // Trailing blanks are not part of a name ("Arial " finds Arial).
  while (!face.empty() && face.back() == ' ') face.remove_suffix(1);
  while (!face.empty() && face.front() == ' ') face.remove_prefix(1);
  if (face.empty()) return nullptr;
  for (const FaceAlias& a : kAliases) {
    if (EqualNoCase(a.windowsName, face)) return &a;
  }
  return nullptr;
}

const FaceAlias& DefaultFaceAlias(BYTE charset, BYTE pitchAndFamily) {
  if (charset == SHIFTJIS_CHARSET) return Named("MS Gothic");
  if (charset == HANGUL_CHARSET) return Named("Gulim");
  BYTE family = pitchAndFamily & 0xF0;
  if ((pitchAndFamily & 0x03) == FIXED_PITCH || family == FF_MODERN) return Named("Courier New");
  if (family == FF_ROMAN) return Named("Times New Roman");
  return Named("Arial");
}

const KnownFamily& FallbackLatin() { return kDejaVuSans; }
const KnownFamily& FallbackJapanese() { return kIpaGothic; }
const KnownFamily& FallbackKorean() { return kNanumGothic; }

int EnumerableAliasCount() {
  static_assert(kEnumerable <= int(std::size(kAliases)));
  return kEnumerable;
}

const FaceAlias& EnumerableAlias(int i) {
  return kAliases[i < 0 || i >= kEnumerable ? 0 : i];
}

}  // namespace win::gdi::fonts
