// Token streams as one line of text for the tests: events by name with their
// pairs in braces, text items in quotes, diagnostics after "!".
#pragma once

#include <sstream>
#include <string>

#include "text/html_tokenizer.h"

// Every item of `source` from here to its end.
std::string DumpItems(TokenSource& source, bool withOffsets = false);
// One item.
std::string DumpItem(const TokenItem& item, bool withOffset = false);
// The whole stream of `text` tokenized in `mode`.
std::string Tokenize(const std::string& text, int mode = HtmlTokenizer::kHtml, bool withOffsets = false);
