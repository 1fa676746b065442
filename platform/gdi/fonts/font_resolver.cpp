#include "gdi/fonts/font_resolver.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "gdi/fonts/face_names.h"
#include "gdi/fonts/font_files.h"

namespace win::gdi::fonts {

namespace {

struct StyleFile {
  const char* name;
  bool bold;
  bool italic;
};

FontFace* OpenNamed(const char* fileName) {
  if (!fileName) return nullptr;
  auto path = FindFontFile(fileName);
  return path ? FontFace::Open(*path) : nullptr;
}

// The family's file nearest the wanted style; what it lacks is simulated.
bool OpenKnownFamily(const KnownFamily& fam, bool bold, bool italic, ResolvedFace& out) {
  const StyleFile files[4] = {{fam.regular, false, false},
                              {fam.bold, true, false},
                              {fam.italic, false, true},
                              {fam.boldItalic, true, true}};
  // Best first: the exact style; then one lacking a wanted property (it can
  // be simulated); a file with a property not wanted only as a last resort.
  auto cost = [&](const StyleFile& f) {
    int c = 0;
    if (f.bold && !bold) c += 8;
    if (f.italic && !italic) c += 8;
    if (!f.bold && bold) c += 2;
    if (!f.italic && italic) c += 1;
    return c;
  };
  int order[4] = {0, 1, 2, 3};
  std::stable_sort(order, order + 4, [&](int a, int b) { return cost(files[a]) < cost(files[b]); });
  for (int i : order) {
    FontFace* face = OpenNamed(files[i].name);
    if (!face) continue;
    out.face = face;
    out.synthBold = bold && !files[i].bold;
    out.synthItalic = italic && !files[i].italic;
    return true;
  }
  return false;
}

void AddFallback(ResolvedFace& r, const KnownFamily& fam) {
  FontFace* f = OpenNamed(fam.regular);
  if (!f || f == r.face) return;
  if (std::find(r.fallbacks.begin(), r.fallbacks.end(), f) != r.fallbacks.end()) return;
  r.fallbacks.push_back(f);
}

BYTE PitchAndFamilyOf(const FontFace& f) {
  const DesignMetrics& m = f.metrics();
  return BYTE((m.fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) | m.family);
}

// Any face at all, for a machine without our families: fontconfig's default.
bool OpenAnything(ResolvedFace& r, bool bold, bool italic) {
  if (OpenKnownFamily(FallbackLatin(), bold, italic, r)) return true;
  for (const std::string& fam : InstalledFamilies()) {
    auto m = MatchFamily(fam, bold, italic);
    if (!m) continue;
    if (FontFace* f = FontFace::Open(m->path, m->index)) {
      r.face = f;
      r.synthBold = bold && !f->metrics().bold;
      r.synthItalic = italic && !f->metrics().italic;
      return true;
    }
  }
  return false;
}

}  // namespace

BYTE RealisedCharset(BYTE requested, BYTE faceCharset) {
  switch (requested) {
    case ANSI_CHARSET:
    case SYMBOL_CHARSET:
    case SHIFTJIS_CHARSET:
    case HANGUL_CHARSET:
    case OEM_CHARSET:
      return requested;
    case DEFAULT_CHARSET:
      return faceCharset;
    default:
      return ANSI_CHARSET;
  }
}

ResolvedFace ResolveFace(const LOGFONT& lf) {
  ResolvedFace r;
  std::string_view name(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  bool bold = lf.lfWeight >= kBoldFromWeight;
  bool italic = lf.lfItalic != 0;

  const FaceAlias* alias = FindFaceAlias(name);
  BYTE faceCharset = ANSI_CHARSET;
  if (alias) {
    bold = bold || alias->forceBold;
    if (OpenKnownFamily(*alias->family, bold, italic, r)) {
      r.reportedName = alias->reportedName;
      r.pitchAndFamily = alias->family->pitchAndFamily;
      faceCharset = alias->family->charset;
    }
  } else if (!name.empty()) {
    if (auto m = MatchFamily(name, bold, italic)) {
      if (FontFace* f = FontFace::Open(m->path, m->index)) {
        r.face = f;
        r.synthBold = bold && !f->metrics().bold;
        r.synthItalic = italic && !f->metrics().italic;
        r.reportedName = m->family.empty() ? std::string(name) : m->family;
        r.pitchAndFamily = PitchAndFamilyOf(*f);
        if (f->HasChar(0x3042) && !f->HasChar(0xAC00)) faceCharset = SHIFTJIS_CHARSET;
        if (f->HasChar(0xAC00) && !f->HasChar(0x3042)) faceCharset = HANGUL_CHARSET;
      }
    }
  }
  r.charset = RealisedCharset(lf.lfCharSet, faceCharset);

  // A face that cannot show the character set asked for gives way to one
  // that can, as Windows' font mapper puts the character set first.
  bool needJapanese = r.charset == SHIFTJIS_CHARSET && !(r.face && r.face->HasChar(0x3042));
  bool needKorean = r.charset == HANGUL_CHARSET && !(r.face && r.face->HasChar(0xAC00));
  if (!r.face || needJapanese || needKorean) {
    const FaceAlias& def = DefaultFaceAlias(r.charset, lf.lfPitchAndFamily);
    ResolvedFace d;
    bool b = lf.lfWeight >= kBoldFromWeight || def.forceBold || (alias && alias->forceBold);
    if (OpenKnownFamily(*def.family, b, italic, d)) {
      r.face = d.face;
      r.synthBold = d.synthBold;
      r.synthItalic = d.synthItalic;
      r.reportedName = def.reportedName;
      r.pitchAndFamily = def.family->pitchAndFamily;
    } else if (!r.face && OpenAnything(r, b, italic)) {
      r.reportedName = r.face->familyName();
      r.pitchAndFamily = PitchAndFamilyOf(*r.face);
    }
  }

  if (r.charset == SHIFTJIS_CHARSET) {
    r.fallbackSet = 1;
    AddFallback(r, FallbackJapanese());
  } else if (r.charset == HANGUL_CHARSET) {
    r.fallbackSet = 2;
    AddFallback(r, FallbackKorean());
  }
  AddFallback(r, FallbackLatin());
  AddFallback(r, FallbackJapanese());
  AddFallback(r, FallbackKorean());
  if (r.reportedName.size() >= LF_FACESIZE) r.reportedName.resize(LF_FACESIZE - 1);
  return r;
}

}  // namespace win::gdi::fonts
