#include "text/resources/dingbat_table.h"

#include <fstream>
#include <memory>
#include <new>
#include <vector>

#include "text/def_lexer.h"
#include "text/resources/picture_factory.h"
#include "win/path_map.h"

namespace {

// Dingbat.dat's separators: those of the definition files but the dot,
// which its file names need.
constexpr const char* kDingbatSeparators = "{[]}=/*,;:";

CString upper(const CString& s) {
  CString u(s);
  u.MakeUpper();
  return u;
}

NamedObject* defaultPicture() {
  PictureFactory* factory = ThePictureFactory();
  return factory ? factory->DefaultPicture() : nullptr;
}

}  // namespace

DingbatTable::DingbatTable(const CString& path) : path_(path.IsEmpty() ? CString(kFileName) : path), cache_(20) {
  int cut = path_.FindOneOf("\\/") < 0 ? -1 : static_cast<int>(path_.str().find_last_of("\\/"));
  if (cut >= 0) directory_ = path_.Left(cut + 1);
  Load();
}

DingbatTable::~DingbatTable() { entries_.clearAndDelete(); }

void DingbatTable::Load() {
  std::ifstream in(win::HostPath(path_.c_str()), std::ios::in);
  if (!in) return;
  DefLexer lexer(in, kDingbatSeparators);
  // Items are taken in pairs, a name and its file; separators between them
  // ("DISC = disc.bmp") are passed over.
  auto next = [&lexer](CString& out) {
    while (lexer.NextItem(out))
      if (!lexer.lastWasSeparator()) return true;
    return false;
  };
  CString name;
  CString file;
  while (next(name)) {
    if (!next(file)) break;  // a name without its file is dropped
    auto* entry = new (std::nothrow) DingbatEntry(upper(name), directory_ + file);
    if (!entry) break;
    entries_.append(entry);
  }
}

DingbatEntry* DingbatTable::FindEntry(const CString& name) const {
  CString wanted = upper(name);
  for (int attempt = 0; attempt < 2 && !wanted.IsEmpty(); ++attempt) {
    for (ListElement* e = entries_.first(); e; e = e->next()) {
      auto* entry = static_cast<DingbatEntry*>(e);
      if (entry->Name() == wanted) return entry;
    }
    wanted = wanted.Left(wanted.GetLength() - 1);
  }
  return nullptr;
}

NamedObject* DingbatTable::GetPicture(const CString& name) {
  // The cache is keyed by the entries' upper-case names: ask it the same
  // way, also for a numbered variant that falls back to its plain name.
  if (NamedObject* cached = cache_.Find(upper(name))) return cached;
  DingbatEntry* entry = FindEntry(name);
  if (!entry) return defaultPicture();
  if (NamedObject* cached = cache_.Find(entry->Name())) return cached;
  NamedObject* picture = ReadPicture(*entry);
  if (!picture) return defaultPicture();
  cache_.Add(entry->Name(), picture);
  return picture;
}

NamedObject* DingbatTable::ReadPicture(const DingbatEntry& entry) {
  PictureFactory* factory = ThePictureFactory();
  if (!factory) return nullptr;
  std::ifstream in(win::HostPath(entry.File().c_str()), std::ios::in | std::ios::binary);
  if (!in) return nullptr;
  ++filesRead_;
  std::vector<char> bytes;
  char block[256];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    bytes.insert(bytes.end(), block, block + in.gcount());
    if (static_cast<long>(bytes.size()) > kMaxPictureBytes) return nullptr;
  }
  if (bytes.empty()) return nullptr;
  return factory->CreatePicture(bytes.data(), static_cast<LONG>(bytes.size()));
}
