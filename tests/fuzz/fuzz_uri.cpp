// fuzz-libs: zemra_core
//
// Input: a link, or a base link, a line feed and a reference. Parses the link
// alone and checks that every part it reports comes from the input: the
// part, with its escapes decoded, is a piece of the decoded input (blanks
// removed, as the parser removes them, or kept, for fragments and queries).
// A link that parses composes to a text that parses again to the same text.
// With a base, the reference is parsed against it (crashes and leaks only).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/uri.h"
#include "core/uri_chars.h"

namespace {

constexpr std::size_t kMaxInput = 4096;

void Require(bool ok) {
  if (!ok) std::abort();
}

// Every well-formed escape replaced by its byte, left to right.
std::string Decoded(const std::string& s) {
  const CString text(s.data(), static_cast<int>(s.size()));
  std::string out;
  for (int i = 0; i < text.GetLength(); ++i) {
    const int value = uri_chars::DecodeEscape(text, i);
    if (value >= 0) {
      out.push_back(static_cast<char>(value));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// "0x" and hex digits: the shape of a korvex object id. The parser takes any
// ten characters after "0x" as one, and the path normalisation may then cut
// "/./" out of such an id.
bool IdShaped(const CString& id) {
  if (id.IsEmpty()) return true;
  if (id.GetLength() < 2 || id[0] != '0' || id[1] != 'x') return false;
  for (int i = 2; i < id.GetLength(); ++i)
    if (!uri_chars::IsHex(static_cast<unsigned char>(id[i]))) return false;
  return true;
}

std::string WithoutBlanks(std::string s) {
  std::erase(s, ' ');
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// A part is a piece of the input as written (object ids are taken as ten
// raw characters after the blanks are removed, which may cut an escape in
// half) or of its decoding.
void RequirePiece(const CString& part, const std::string& input) {
  if (part.IsEmpty()) return;
  if (input.find(part.str()) != std::string::npos) return;
  if (WithoutBlanks(input).find(part.str()) != std::string::npos) return;
  const std::string piece = Decoded(part.str());
  const std::string decoded = Decoded(input);
  Require(decoded.find(piece) != std::string::npos ||
          Decoded(WithoutBlanks(input)).find(piece) != std::string::npos);
}

void CheckParts(const URI& u, const std::string& input) {
  const std::string lowered = Lower(input);
  if (!u.scheme.IsEmpty())
    Require(Lower(Decoded(WithoutBlanks(input))).find(Lower(Decoded(u.scheme.str()))) !=
                std::string::npos ||
            lowered.find(u.scheme.str()) != std::string::npos);
  RequirePiece(u.port, input);
  RequirePiece(u.params, input);
  RequirePiece(u.search, input);
  RequirePiece(u.fragment, input);
  RequirePiece(u.globalOid, input);
  RequirePiece(u.localOid, input);
  if (u.scheme == URI::kMailto) {
    RequirePiece(u.mailUser, input);
    RequirePiece(u.mailHost, input);
  }
  // Labels are joined by "." again, a trailing dot dropped.
  RequirePiece(u.host, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');

  if (newline == std::string::npos) {
    URI u;
    const CString text(input.data(), static_cast<int>(input.size()));
    if (!u.Parse(text)) return 0;
    Require(u.valid);
    CheckParts(u, input);

    // Normalising "a/..//b" or ".//b" leaves "/b", which neither the http
    // grammar nor a korvex link without host carries: the composed text
    // reads differently.
    // (A korvex path of just "/" is its root and composes fine.)
    const bool slash = u.path.GetLength() > 0 && u.path[0] == '/';
    if (slash && (u.scheme == URI::kHttp || (u.scheme == URI::kKorvex && u.path != "/"))) return 0;
    // A korvex query may hold ";" only behind the ";" of params; without
    // params the composed "?" comes first and the whole text reads as a path.
    if (u.scheme == URI::kKorvex && u.params.IsEmpty() && u.search.Find(';') >= 0) return 0;
    if (!IdShaped(u.globalOid) || !IdShaped(u.localOid)) return 0;
    // Normalising "./0x..." leaves a path that reads as an object id.
    if (u.scheme == URI::kKorvex && u.globalOid.IsEmpty() && u.localOid.IsEmpty() &&
        u.path.Left(2) == "0x")
      return 0;
    // An escaped blank at either end of a korvex query is decoded, and a
    // blank there is trimmed when the text is read again.
    const int n = u.search.GetLength();
    if (u.scheme == URI::kKorvex && n > 0 && (u.search[0] == ' ' || u.search[n - 1] == ' ')) return 0;
    const CString once = u.toString();
    URI again;
    Require(again.Parse(once));
    Require(again.toString() == once);
    return 0;
  }

  URI u;
  u.Parse(CString(input.data(), static_cast<int>(newline)));
  const std::string reference = input.substr(newline + 1);
  u.Parse(CString(reference.data(), static_cast<int>(reference.size())));
  u.toString();
  return 0;
}
