#include "store/localdb/query_expr.h"

#include <cstring>

#include "core/entities.h"
#include "store/localdb/local_names.h"

namespace localdb {

namespace {

enum class Tok { kEnd, kWord, kOpen, kClose, kAnd, kOr, kNot, kEquals, kColon };

class Parser {
 public:
  Parser(std::string_view text, QueryMode mode) : text_(text), mode_(mode) {}

  ParsedQuery run() {
    ParsedQuery out;
    if (text_.size() > kMaxQueryBytes) {
      out.error = "The query is too long.";
      return out;
    }
    next();
    auto root = parseOr(0);
    if (error_.empty() && tok_ != Tok::kEnd) error_ = tok_ == Tok::kClose ? "A \")\" has no \"(\"." : "The query cannot be read.";
    if (!error_.empty()) {
      out.error = error_;
      return out;
    }
    out.root = std::move(root);
    return out;
  }

 private:
  bool isDelimiter(char c) const {
    const char* set = mode_ == QueryMode::kAttributes ? " !|&=:()" : " ()!|&:";
    return c != '\0' && std::strchr(set, c) != nullptr;
  }

  // Reads the next token; blanks between terms stand for "&".
  void next() {
    blankBefore_ = false;
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) {
      ++at_;
      blankBefore_ = true;
    }
    if (at_ >= text_.size()) {
      tok_ = Tok::kEnd;
      return;
    }
    const char c = text_[at_];
    switch (c) {
      case '(': ++at_; tok_ = Tok::kOpen; return;
      case ')': ++at_; tok_ = Tok::kClose; return;
      case '!': ++at_; tok_ = Tok::kNot; return;
      case ':': ++at_; tok_ = Tok::kColon; return;
      case '&':
        ++at_;
        if (at_ < text_.size() && text_[at_] == '&') ++at_;
        tok_ = Tok::kAnd;
        return;
      case '|':
        ++at_;
        if (at_ < text_.size() && text_[at_] == '|') ++at_;
        tok_ = Tok::kOr;
        return;
      default: break;
    }
    if (c == '=' && mode_ == QueryMode::kAttributes) {
      ++at_;
      tok_ = Tok::kEquals;
      return;
    }
    size_t start = at_;
    while (at_ < text_.size() && !isDelimiter(text_[at_]) && text_[at_] != '\t') ++at_;
    word_ = std::string(text_.substr(start, at_ - start));
    tok_ = Tok::kWord;
  }

  static std::unique_ptr<QueryNode> make(QueryNode::Op op, std::unique_ptr<QueryNode> a, std::unique_ptr<QueryNode> b) {
    auto n = std::make_unique<QueryNode>();
    n->op = op;
    n->left = std::move(a);
    n->right = std::move(b);
    return n;
  }

  // Left-out terms drop out of their operators.
  static std::unique_ptr<QueryNode> combine(QueryNode::Op op, std::unique_ptr<QueryNode> a, std::unique_ptr<QueryNode> b) {
    if (op == QueryNode::kAndNot) {
      if (!b) return a;
      if (!a) return make(QueryNode::kNot, std::move(b), nullptr);
      return make(op, std::move(a), std::move(b));
    }
    if (!a) return b;
    if (!b) return a;
    return make(op, std::move(a), std::move(b));
  }

  bool tooDeep(int depth) {
    if (depth <= kMaxQueryDepth) return false;
    if (error_.empty()) error_ = "The query nests too deep.";
    return true;
  }

  std::unique_ptr<QueryNode> parseOr(int depth) {
    if (tooDeep(depth)) return nullptr;
    auto left = parseAnd(depth + 1);
    while (error_.empty() && tok_ == Tok::kOr) {
      next();
      left = combine(QueryNode::kOr, std::move(left), parseAnd(depth + 1));
    }
    return left;
  }

  bool startsUnary() const { return tok_ == Tok::kWord || tok_ == Tok::kOpen || tok_ == Tok::kNot; }

  std::unique_ptr<QueryNode> parseAnd(int depth) {
    if (tooDeep(depth)) return nullptr;
    auto left = parseUnary(depth + 1);
    while (error_.empty()) {
      if (tok_ == Tok::kAnd) {
        next();
      } else if (!startsUnary()) {
        break;
      }
      if (tok_ == Tok::kNot) {
        next();
        left = combine(QueryNode::kAndNot, std::move(left), parseUnary(depth + 1));
      } else {
        left = combine(QueryNode::kAnd, std::move(left), parseUnary(depth + 1));
      }
    }
    return left;
  }

  std::unique_ptr<QueryNode> parseUnary(int depth) {
    if (tooDeep(depth)) return nullptr;
    // Keys and languages set the scene for what follows.
    while (tok_ == Tok::kWord) {
      const std::string word = word_;
      next();
      if (tok_ == Tok::kEquals && mode_ == QueryMode::kAttributes) {
        key_ = word;
        language_.clear();
        next();
        continue;
      }
      if (tok_ == Tok::kColon) {
        language_ = word;
        next();
        continue;
      }
      return term(word);
    }
    if (tok_ == Tok::kNot) {
      next();
      auto operand = parseUnary(depth + 1);
      return operand ? make(QueryNode::kNot, std::move(operand), nullptr) : nullptr;
    }
    if (tok_ == Tok::kOpen) {
      next();
      auto inner = parseOr(depth + 1);
      if (!error_.empty()) return nullptr;
      if (tok_ != Tok::kClose) {
        error_ = "A \"(\" is not closed.";
        return nullptr;
      }
      next();
      return inner;
    }
    if (tok_ == Tok::kEnd || tok_ == Tok::kClose || tok_ == Tok::kOr || tok_ == Tok::kAnd) return nullptr;
    // A lone "=" or ":" says nothing.
    next();
    return nullptr;
  }

  std::unique_ptr<QueryNode> term(const std::string& word) {
    std::string text;
    bool prefix = false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (word[i] == '*') {
        const bool digitNext = i + 1 < word.size() && word[i + 1] >= '0' && word[i + 1] <= '9';
        if (!digitNext) prefix = true;
        continue;
      }
      text += word[i];
    }
    if (text.empty()) return nullptr;
    std::string key;
    if (mode_ == QueryMode::kAttributes) {
      if (key_.empty()) return nullptr;
      key = key_ + "=" + language_ + text;
    } else {
      if (language_.empty()) return nullptr;
      key = language_ + text;
    }
    if (key.size() > kMaxTermBytes) key.resize(kMaxTermBytes);
    if (++terms_ > kMaxQueryTerms) {
      if (error_.empty()) error_ = "The query has too many terms.";
      return nullptr;
    }
    auto n = std::make_unique<QueryNode>();
    n->term = key;
    n->prefix = prefix;
    return n;
  }

  std::string_view text_;
  QueryMode mode_;
  size_t at_ = 0;
  Tok tok_ = Tok::kEnd;
  bool blankBefore_ = false;
  std::string word_;
  std::string key_;
  std::string language_;
  size_t terms_ = 0;
  std::string error_;
};

}  // namespace

std::string prepareQuery(std::string_view text) {
  return upperCase(DecodeEntities(CString(std::string(text))).str());
}

ParsedQuery parseQuery(std::string_view prepared, QueryMode mode) { return Parser(prepared, mode).run(); }

std::string describeQuery(const QueryNode* node) {
  if (!node) return {};
  switch (node->op) {
    case QueryNode::kTerm: return node->term + (node->prefix ? "*" : "");
    case QueryNode::kNot: return "!" + describeQuery(node->left.get());
    case QueryNode::kAnd: return "(" + describeQuery(node->left.get()) + "&" + describeQuery(node->right.get()) + ")";
    case QueryNode::kAndNot:
      return "(" + describeQuery(node->left.get()) + "&!" + describeQuery(node->right.get()) + ")";
    case QueryNode::kOr: return "(" + describeQuery(node->left.get()) + "|" + describeQuery(node->right.get()) + ")";
  }
  return {};
}

}  // namespace localdb
