// The tokenizer's services for anchors: how many characters a stretch of
// the document shows (to split a text item where an anchor begins), and the
// link text an anchor value in the document stands for.
#include <cctype>
#include <string_view>

#include "core/uri.h"
#include "core/str_helpers.h"
#include "text/entity_name.h"
#include "text/html_tokenizer.h"

namespace {

// Counts displayed characters the way the tokenizer makes text of them:
// carriage returns show nothing, a known reference shows one character (its
// ";" or line end consumed with it), an unknown one shows as written.
class DisplayCounter {
 public:
  void Feed(std::string_view bytes) {
    for (char c : bytes) Feed(c);
  }
  int Finish() {
    if (inEntity_) count_ += 1 + static_cast<long long>(name_.length());
    inEntity_ = false;
    return count_ > 0x7fffffff ? 0x7fffffff : static_cast<int>(count_);
  }

 private:
  void Feed(char c) {
    if (inEntity_) {
      if (IsEntityNameChar(static_cast<unsigned char>(c))) {
        name_.Add(c);
        return;
      }
      inEntity_ = false;
      if (name_.Decode() > 0) {
        ++count_;
        if (c == ';' || c == '\n' || c == '\r') return;
      } else {
        count_ += 1 + static_cast<long long>(name_.length());
      }
    }
    if (c == '&') {
      inEntity_ = true;
      name_.Clear();
    } else if (c != '\r') {
      ++count_;
    }
  }

  EntityName name_;
  bool inEntity_ = false;
  long long count_ = 0;
};

// Relative links are resolved behind a made-up absolute prefix whose host
// cannot occur in documents; the prefix is cut off again afterwards.
constexpr std::string_view kDummyHost = "http://base.invalid/";
constexpr std::string_view kDummyPrefix = "http://base.invalid/zemra-doc/";

// A scheme of two characters or more before ":" ("C:" is a drive).
bool HasScheme(const CString& s) {
  const std::string_view v = s.view();
  size_t i = 0;
  while (i < v.size() && (std::isalnum(static_cast<unsigned char>(v[i])) || v[i] == '+' || v[i] == '-' || v[i] == '.'))
    ++i;
  return i >= 2 && i < v.size() && v[i] == ':' && std::isalpha(static_cast<unsigned char>(v[0]));
}

bool IsMailto(const CString& s) { return s.Left(7).CompareNoCase("mailto:") == 0; }

CString StripPrefix(const CString& s, std::string_view prefix) {
  return s.view().substr(0, prefix.size()) == prefix ? s.Mid(static_cast<int>(prefix.size())) : s;
}

}  // namespace

int HtmlTokenizer::MeasureRange(LONG from, LONG to) {
  if (!stream_ || !stream_->rdbuf()) return -1;
  if (to <= from || from < 0) return 0;
  const std::ios::iostate saved = stream_->rdstate();
  stream_->clear();
  const std::istream::pos_type here = stream_->tellg();
  DisplayCounter counter;
  stream_->seekg(from);
  // The range comes from the server's anchors: read it in pieces of a fixed
  // size instead of allocating what it claims.
  char chunk[4096];
  long long left = static_cast<long long>(to) - from;
  while (left > 0 && stream_->good()) {
    stream_->read(chunk, static_cast<std::streamsize>(left < static_cast<long long>(sizeof chunk) ? left : sizeof chunk));
    const std::streamsize got = stream_->gcount();
    if (got <= 0) break;
    counter.Feed(std::string_view(chunk, static_cast<size_t>(got)));
    left -= got;
  }
  stream_->clear();
  if (here != std::istream::pos_type(-1)) stream_->seekg(here);
  stream_->clear(saved);
  return counter.Finish();
}

CString HtmlTokenizer::ResolveAnchor(const CString& value) {
  if (mode_ != kHtml) {
    CString link;
    if (value.GetAt(0) == '/')
      link = "Dest=" + value.Mid(1) + "\n";
    else
      link = "Hint=URL:korvex:" + value + "\n";
    return link + "LinkType=KTFAnchor\n";
  }
  if (value.IsEmpty() || !baseProvider_) return value;
  const CString base = baseProvider_->GetName(NamedValueSource::kReferenceBase);
  if (base.IsEmpty() || IsMailto(value)) return value;

  URI uri;
  if (HasScheme(value)) return uri.Parse(value) ? uri.toString() : value;
  if (HasScheme(base)) {
    if (!uri.Parse(base) || !uri.Parse(value)) return value;
    return uri.toString();
  }
  CString localBase = base;
  CString relative = value;
  StrReplaceChar(localBase, '\\', '/');
  StrReplaceChar(relative, '\\', '/');
  if (!uri.Parse(CString(kDummyPrefix) + localBase) || !uri.Parse(relative)) return value;
  CString resolved = uri.toString();
  if (resolved.IsEmpty()) return value;
  resolved = StripPrefix(StripPrefix(resolved, kDummyPrefix), kDummyHost);
  StrReplaceChar(resolved, '/', '\\');
  return resolved;
}
