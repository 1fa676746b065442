// KXObject: parsing the record, the title, key getters and local changes of
// the record.
#include <cstdlib>

#include "core/attr_record.h"
#include "core/kx_object.h"
#include "core/languages.h"

namespace {

// atoi's reading (blanks, an optional sign, the leading digits; 0 when there
// are none) without its undefined overflow: clamped to 32 bits.
std::int32_t LeadingInteger(const CString& text) {
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

void AppendLineFeedIfOpen(CString& text) {
  if (!text.IsEmpty() && text[text.GetLength() - 1] != '\n') text += "\n";
}

}  // namespace

// Reads the record only while the flags ask for a fetch (a new object, or
// kRefreshAttributes); otherwise it only marks the object parsed.
bool KXObject::parseAttributes(const CString& recordText) {
  parsed = true;
  if (!flagsAskFetch()) return true;

  record = recordText;
  const AttrRecord attrs(record);
  ObjectId id;
  attrs.getObjectId(id);
  objectId = id.value();
  objectIdText = attrs.getAttribute(kxobj::kObjectIDKey);
  objectIdText.MakeLower();

  const CString score = attrs.getAttribute(kxobj::kScoreKey);
  if (!score.IsEmpty()) scoreText.Format("%04d", LeadingInteger(score));

  keywords.RemoveAll();
  attrs.findAll(kxobj::kKeywordKey, keywords);
  userAttrs.RemoveAll();
  attrs.findAll(kxobj::kUserAttrKey, userAttrs);
  titles.RemoveAll();
  attrs.findAll(kxobj::kTitleKey, titles);

  titleText = getTitle();  // sets titleLanguage
  if (!titleText.IsEmpty()) titleText = titleLanguage + ":" + titleText;
  return true;
}

CString KXObject::getType() { return getAttribute(kxobj::kTypeKey); }

// The language list already decodes the entity references of the text it
// chooses; a second decoding would turn a written "&amp;auml;" into a letter.
CString KXObject::getTitle() {
  if (!parsed) refresh();
  Languages* languages = Languages::instance();
  if (!languages) {
    titleLanguage.Empty();
    return CString();
  }
  CString chosen;
  languages->choose(chosen, titles);
  titleLanguage = languages->lastCode();
  return chosen;
}

CString KXObject::getRecord() {
  if (!parsed) refresh();
  return record;
}

CString KXObject::getAttributeNames() {
  return "\nName\nTitle\nKeyword\nAuthor\nTimeCreated\nTimeOpen\nTimeExpire\nRights\nSequence\n"
         "UserAttr\nLayout\n";
}

bool KXObject::changeAttributes(const CString& removeLines, const CString& addLines,
                                bool onServer) {
  if (onServer) return store ? store->modifyAttributes(self(), removeLines, addLines) : false;
  // Locally only the record changes; the parsed fields stay as they were.
  AppendLineFeedIfOpen(record);
  record += addLines;
  AppendLineFeedIfOpen(record);
  return true;
}

CString KXObject::getAttribute(const char* key) const { return AttrRecord(record).getAttribute(key); }

StringArray KXObject::getAllValues(const char* key) const {
  StringArray values;
  const CString k(key);
  const int keyLength = k.GetLength();
  if (keyLength == 0) return values;
  int lineStart = 0;
  const int length = record.GetLength();
  while (lineStart < length) {
    int lineEnd = record.Find('\n', lineStart);
    if (lineEnd < 0) lineEnd = length;
    if (lineEnd - lineStart >= keyLength && record.Mid(lineStart, keyLength) == k)
      values.Add(record.Mid(lineStart + keyLength, lineEnd - lineStart - keyLength));
    lineStart = lineEnd + 1;
  }
  return values;
}

CString KXObject::getGOid() const { return getAttribute(kxobj::kGOidKey); }
CString KXObject::getAuthor() const { return getAttribute(kxobj::kAuthorKey); }
CString KXObject::getRights() const { return getAttribute(kxobj::kRightsKey); }
CString KXObject::getTimeCreated() const { return getAttribute(kxobj::kTimeCreatedKey); }
CString KXObject::getTimeExpire() const { return getAttribute(kxobj::kTimeExpireKey); }
CString KXObject::getTimeOpen() const { return getAttribute(kxobj::kTimeOpenKey); }
CString KXObject::getParent() const { return getAttribute(kxobj::kParentKey); }
CString KXObject::getSequence() const { return getAttribute(kxobj::kSequenceKey); }
CString KXObject::getLayout() const { return getAttribute(kxobj::kLayoutKey); }
CString KXObject::getPCBIBType() const { return getAttribute(kxobj::kPCBIBTypeKey); }
