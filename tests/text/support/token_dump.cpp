#include "text/support/token_dump.h"

std::string DumpItem(const TokenItem& item, bool withOffset) {
  std::string out;
  switch (item.Kind()) {
    case kTextItem:
      out = "\"" + static_cast<const TextToken&>(item).text.str() + "\"";
      break;
    case kDiagnosticItem:
      out = "!" + static_cast<const TokenDiagnostic&>(item).message.str();
      break;
    case kEventItem: {
      const auto& e = static_cast<const TokenEvent&>(item);
      out = e.name.str();
      if (e.SubItemCount() > 0) {
        out += "{";
        for (int i = 0; i < e.SubItemCount(); ++i) {
          if (i) out += ",";
          out += e.SubItemAt(i)->name.str() + "=" + e.SubItemAt(i)->value.str();
        }
        out += "}";
      }
      break;
    }
    default:
      out = "?" + std::to_string(item.Kind());
  }
  if (withOffset) out += "@" + std::to_string(item.start);
  return out;
}

std::string DumpItems(TokenSource& source, bool withOffsets) {
  std::string out;
  while (auto item = source.NextToken()) {
    if (!out.empty()) out += " ";
    out += DumpItem(*item, withOffsets);
  }
  return out;
}

std::string Tokenize(const std::string& text, int mode, bool withOffsets) {
  std::istringstream in(text);
  HtmlTokenizer tokenizer(mode);
  tokenizer.Reset(&in);
  return DumpItems(tokenizer, withOffsets);
}
