// Dingbats: small pictures that documents place by name (the DINGBAT
// attribute of headings, lists and list items, list bullets). Dingbat.dat
// lists pairs of a name and a picture file; the table reads the list once
// and turns a name into a picture on demand, keeping each picture once read.
// Names are not case-sensitive.
#pragma once

#include "core/list.h"
#include "core/named_list.h"
#include "mfc/cstring.h"

class DingbatEntry : public ListElement {
 public:
  DingbatEntry(const CString& name, const CString& file) : name_(name), file_(file) {}
  const CString& Name() const { return name_; }  // upper case
  const CString& File() const { return file_; }  // the list's directory + the name written

 private:
  CString name_;
  CString file_;
};

class DingbatTable {
 public:
  static constexpr const char* kFileName = "Dingbat.dat";
  // The largest picture file read.
  static constexpr long kMaxPictureBytes = 8L << 20;

  // Reads the list file (an empty path is "Dingbat.dat"); a file that
  // cannot be read gives an empty table.
  explicit DingbatTable(const CString& path);
  DingbatTable(const DingbatTable&) = delete;
  DingbatTable& operator=(const DingbatTable&) = delete;
  virtual ~DingbatTable();

  // The entry of a name (any case); when there is none, the entry of the
  // name without its last character (so "disc2" finds DISC). Null when
  // neither is listed.
  DingbatEntry* FindEntry(const CString& name) const;
  // The picture of a name, read once and kept; the picture factory's
  // default picture for a name not listed or a file that cannot be read or
  // is no picture. The table keeps what it returns.
  NamedObject* GetPicture(const CString& name);

  const CString& Path() const { return path_; }
  const CString& Directory() const { return directory_; }
  const List& Entries() const { return entries_; }
  int CachedCount() const { return static_cast<int>(cache_.count()); }
  // How many picture files were read so far.
  int FilesRead() const { return filesRead_; }

 private:
  void Load();
  NamedObject* ReadPicture(const DingbatEntry& entry);

  CString path_;
  CString directory_;
  List entries_;
  NamedList cache_;
  int filesRead_ = 0;
};
