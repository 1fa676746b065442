#include "store/dictionary/dictionary_context.h"

#include <algorithm>
#include <cctype>

#include "core/line_reader.h"
#include "core/paths.h"
#include "mfc/cstring.h"
#include "store/dictionary/config_line.h"
#include "store/fulltext/language_file.h"
#include "win/kernel.h"
#include "win/path_map.h"
#include "win/user.h"

namespace {

enum MessageId : UINT { kCannotOpen = 222, kCannotOpenIn = 223, kPartsMissing = 224 };
constexpr const char* kErrorCaption = "!!! Error !!!";
constexpr size_t kMaxListBytes = 1 << 20;
constexpr const char* kPublisher = "ZE-Vurudezuri";

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The string's "%s" places filled in turn.
void showError(UINT id, std::initializer_list<std::string> args) {
  // A program without the product's string table has no text for the id.
  const char* resource = win_string_resource(id);
  std::string text = resource ? resource : "";
  size_t at = 0;
  for (const std::string& a : args) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, a);
    at += a.size();
  }
  MessageBox(nullptr, text.c_str(), kErrorCaption, MB_OK | MB_ICONEXCLAMATION);
}

bool readable(const std::string& path) {
  OFSTRUCT info;
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
  HFILE found = OpenFile(path.c_str(), &info, OF_EXIST);
  SetErrorMode(old);
  return found != HFILE_ERROR;
}

std::string joinPath(const std::string& directory, const std::string& name) {
  if (directory.empty() || isAbsolute(name.c_str())) return name;
  char last = directory.back();
  return directory + (last == '\\' || last == '/' ? "" : "\\") + name;
}

std::string directoryOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The text after the command letter, without the blanks before it, cut to
// its field.
std::string text(ConfigLine& f, size_t width) {
  std::string s = f.rest(std::string::npos);
  size_t start = s.find_first_not_of(" \t");
  return start == std::string::npos ? std::string() : s.substr(start, width);
}

bool hasExtension(const std::string& path, const char* ext) {
  size_t dot = path.find_last_of(".\\/");
  return dot != std::string::npos && path[dot] == '.' && upper(path.substr(dot + 1)) == ext;
}

// The names of a configuration's files before they are resolved: the
// directory line may come after them.
struct PendingNames {
  std::vector<std::string> data;
  std::vector<std::string> index;
};

// One line; false at the end line.
bool applyLine(DictionaryRecord& r, std::string_view line, PendingNames& names) {
  if (line.empty()) return true;
  ConfigLine f(line.substr(1));
  std::string word;
  switch (line[0]) {
    case 'A': r.titles[0] = text(f, DictionaryRecord::kTitleLength); break;
    case 'C': r.titles[1] = text(f, DictionaryRecord::kTitleLength); break;
    case 'b': r.titles[2] = text(f, DictionaryRecord::kTitleLength); break;
    case 'D': {
      if (!f.word(word, DictionaryRecord::kPathLength)) break;
      DictionaryDataFile d;
      // The numbers that are there; the others keep their defaults.
      (void)(f.int32(d.first) && f.int32(d.second) && f.int16(d.width) && f.int16(d.step) && f.int16(d.small) &&
             f.int32(d.number));
      if (d.second < 0) d.second = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                            static_cast<std::int64_t>(d.first) - d.second + 10, INT32_MIN, INT32_MAX));
      names.data.push_back(word);
      r.dataFiles.push_back(d);
      break;
    }
    case 'E': return false;
    case 'F':
      for (std::int32_t& n : r.numbers)
        if (!f.int32(n)) break;
      break;
    case 'H': r.heading = text(f, DictionaryRecord::kHeadingLength); break;
    case 'I': {
      if (!f.word(word, DictionaryRecord::kPathLength)) break;
      DictionaryIndexFile i;
      (void)(f.int16(i.a) && f.int16(i.b) && f.int32(i.c) && f.int32(i.d) && f.int16(i.e));
      if (hasExtension(word, "KI")) r.publisher = kPublisher;
      names.index.push_back(word);
      r.indexFiles.push_back(i);
      break;
    }
    case 'K': r.code = lower(text(f, DictionaryRecord::kCodeLength)); break;
    case 'L': r.listed = true; break;
    case 'R':
    case 'r': r.volumeLabel = upper(text(f, DictionaryRecord::kLabelLength)); break;
    case 'S': {
      ConfigLine(text(f, 3)).int16(r.smallNumber);
      break;
    }
    case 'T': f.int32(r.number); break;
    case 'V': f.int16(r.version); break;
    case 'X': r.directory = text(f, DictionaryRecord::kDirectoryLength); break;
    case 'Y': r.description = text(f, DictionaryRecord::kDescriptionLength); break;
    case 'Z': r.marked = true; break;
    default: break;  // comments ("!", ";"), N, P and unknown letters
  }
  return true;
}

}  // namespace

std::string DictionaryContext::findFile(const std::string& name, const std::string& directory,
                                        const std::string& configDirectory) const {
  if (!directory.empty()) return joinPath(directory, name);
  const std::string candidates[] = {makeAppPath(name.c_str(), ""), localDataPath(name.c_str(), ""),
                                    joinPath(configDirectory, name)};
  for (const std::string& c : candidates)
    if (!c.empty() && readable(c)) return c;
  return name;
}

bool DictionaryContext::parse(DictionaryRecord& record, const std::string& path, const std::string& directory) {
  LineReader reader;
  if (!reader.open(path.c_str(), 0)) return false;
  PendingNames names;
  for (; !reader.atEnd(); reader.readLine())
    if (!applyLine(record, reader.line(), names)) break;
  // Files are found where the directory line says ("*": the caller's
  // directory), else where the caller says, else by the usual search.
  std::string filesIn = directory;
  if (!record.directory.empty())
    filesIn = record.directory[0] == '*' ? joinPath(directory, record.directory.substr(1)) : record.directory;
  auto resolve = [&](const std::string& name) {
    return upper(win::FullWindowsPath(findFile(name, filesIn, directoryOf(path)).c_str()));
  };
  for (size_t i = 0; i < names.data.size(); ++i) record.dataFiles[i].path = resolve(names.data[i]);
  for (size_t i = 0; i < names.index.size(); ++i) record.indexFiles[i].path = resolve(names.index[i]);
  return true;
}

void DictionaryContext::loadLanguageTables() {
  tablesLoaded_ = true;
  for (int language : {kGerman, kEnglish}) {
    phonetic_.load(language);
    suffixes_.load(language);
  }
}

int DictionaryContext::openDictionary(const std::string& configFile, int id, bool checkMedia, bool reread,
                                      const std::string& directory) {
  if (!tablesLoaded_) loadLanguageTables();
  auto existing = std::find_if(dictionaries_.begin(), dictionaries_.end(),
                               [id](const DictionaryRecord& r) { return r.id == id; });
  if (!reread && existing != dictionaries_.end()) return 0;
  std::string path = directory.empty() ? findFile(configFile) : joinPath(directory, configFile);
  DictionaryRecord record;
  if (reread && existing != dictionaries_.end()) {
    record = *existing;
    record.dataFiles.clear();
    record.indexFiles.clear();
  } else {
    record.configPath = upper(win::FullWindowsPath(path.c_str()));
  }
  if (!parse(record, path, directory.empty() ? directoryOf(path) : directory)) {
    if (directory.empty())
      showError(kCannotOpen, {path});
    else
      showError(kCannotOpenIn, {directory, configFile});
    return 0;
  }
  if (checkMedia) {
    const std::string& data = record.dataFiles.empty() ? record.configPath : record.dataFiles.front().path;
    int kind = driveKind(data.c_str());
    if ((kind == 2 || kind == 3) && !mediaPresent(record)) {
      showError(kPartsMissing, {record.configPath});
      return 0;
    }
  }
  record.id = id;
  recordFiles_.erase(id);
  if (existing != dictionaries_.end())
    *existing = std::move(record);
  else
    dictionaries_.push_back(std::move(record));
  return 1;
}

int DictionaryContext::loadList(const std::string& listFile, const std::string& directory) {
  std::string path = directory.empty() ? findFile(listFile) : joinPath(directory, listFile);
  std::string text;
  HFILE file = _lopen(path.c_str(), OF_READ);
  if (file != HFILE_ERROR) {
    char buffer[4096];
    for (UINT n; (n = _lread(file, buffer, sizeof buffer)) > 0 && n != static_cast<UINT>(HFILE_ERROR);)
      text.append(buffer, std::min<size_t>(n, kMaxListBytes - text.size()));
    _lclose(file);
  }
  if (file == HFILE_ERROR) {
    showError(kCannotOpen, {path});
    return 0;
  }
  // Pairs of an id and a configuration name, until a pair cannot be read.
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  ConfigLine pairs(text);
  std::string listDirectory = directory.empty() ? directoryOf(path) : directory;
  for (;;) {
    std::int16_t id;
    std::string name;
    if (!pairs.int16(id) || !pairs.word(name, DictionaryRecord::kPathLength)) break;
    std::string config = directory.empty() ? findFile(name, {}, listDirectory) : name;
    openDictionary(config, id, true, false, directory);
  }
  return 1;
}

bool DictionaryContext::mediaPresent(const DictionaryRecord& record) const {
  if (!record.volumeLabel.empty()) {
    CString label;
    // Without a label to read there is nothing to compare.
    std::string where = record.dataFiles.empty() ? record.configPath : record.dataFiles.front().path;
    if (getVolumeLabel(where.c_str(), label) && upper(label.str()) != record.volumeLabel) return false;
  }
  if (record.indexFiles.empty()) return true;
  std::string name = record.indexFiles.front().path;
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  if (name.find('.') == std::string::npos) name += ".BOF";
  return readable(localDataPath(name.c_str(), ""));
}

int DictionaryContext::selectDictionary(std::string_view text) {
  std::string code;
  ConfigLine(text).word(code, DictionaryRecord::kCodeLength);
  if (code.empty()) {
    current_ = kAllDictionaries;
    return 1;
  }
  int id = idOfCode(code);
  if (id < 0) return 0;
  current_ = id;
  return 1;
}

void DictionaryContext::setDirection(int code) {
  if (code == kTurnBackward) {
    if (direction_ == kForward) direction_ = kBackward;
    else if (direction_ == kForwardOther) direction_ = kBackwardOther;
  } else if (code == kTurnForward) {
    if (direction_ == kBackward) direction_ = kForward;
    else if (direction_ == kBackwardOther) direction_ = kForwardOther;
  } else {
    direction_ = code;
  }
}

const DictionaryRecord* DictionaryContext::dictionary(int id) const {
  if (id == kAllDictionaries) id = current_;
  for (const DictionaryRecord& r : dictionaries_)
    if (r.id == id && id != kAllDictionaries) return &r;
  return nullptr;
}

int DictionaryContext::idOfCode(std::string_view code) const {
  std::string wanted = lower(std::string(code.substr(0, DictionaryRecord::kCodeLength)));
  if (wanted.empty()) return -1;
  for (const DictionaryRecord& r : dictionaries_)
    if (r.code == wanted) return r.id;
  return -1;
}

int DictionaryContext::idOfConfig(const std::string& path) const {
  std::string full = upper(win::FullWindowsPath(path.c_str()));
  for (const DictionaryRecord& r : dictionaries_)
    if (r.configPath == full) return r.id;
  return -1;
}

RecordFile* DictionaryContext::recordFile(int id) {
  const DictionaryRecord* r = dictionary(id);
  if (!r || r->dataFiles.empty()) return nullptr;
  std::unique_ptr<RecordFile>& file = recordFiles_[r->id];
  if (!file) {
    file = std::make_unique<RecordFile>();
    int kind = r->numbers[0] > 0 ? r->numbers[0] : RecordFile::kRecordKind;
    int depth = r->numbers[1] > 0 ? std::min(r->numbers[1], static_cast<std::int32_t>(RecordNode::kMaxDepth))
                                  : RecordNode::kMaxDepth;
    file->setFile(r->dataFiles.front().path, kind, depth, std::max(r->numbers[2], 0),
                  static_cast<DWORD>(r->numbers[3]));
  }
  return file.get();
}
