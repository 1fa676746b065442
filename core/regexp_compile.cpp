// Compiler of Regexp patterns into the node program of regexp_program.h.
//
// The pattern is parsed twice: the first pass only adds up the program's size,
// so that the second pass emits into a buffer of exactly that size. Pieces are
// emitted first and wrapped afterwards (a node is inserted in front of a
// finished atom when an operator follows it); links are relative, so shifting
// a finished atom keeps it intact, and nothing links into an atom until its
// piece is complete.
#include <cstring>
#include <new>

#include "core/regexp_program.h"

namespace regexp_detail {
namespace {

// What the parser knows about a piece it has emitted.
enum Flags : int {
  kWorst = 0,      // nothing known
  kHasWidth = 1,   // never matches the empty string
  kSimple = 2,     // exactly one byte wide: STAR and PLUS can repeat it directly
  kSpStart = 4,    // starts with * or ?: worth looking for a must-contain literal
};

// Bytes that end a run of literal bytes.
constexpr const char* kMeta = "^$.[()|?+*\\";

bool IsRepeat(std::uint8_t c) { return c == '*' || c == '+' || c == '?'; }

class Compiler {
 public:
  explicit Compiler(const char* pattern) : pattern_(reinterpret_cast<const std::uint8_t*>(pattern)) {}

  const char* Run(Program* out) {
    if (pattern_ == nullptr) return "NULL argument";

    // Pass 1: size only.
    Begin(nullptr);
    int flags = 0;
    Reg(false, &flags);
    if (error_) return error_;
    if (size_ >= kProgramLimit) return "kxregexp too big";
    const std::int64_t measured = size_;

    // Pass 2: emit.
    std::vector<std::uint8_t>& code = out->code;
    code.clear();
    try {
      code.reserve(static_cast<std::size_t>(measured));
    } catch (const std::bad_alloc&) {
      return "out of space";
    }
    Begin(&code);
    Reg(false, &flags);
    if (error_) return error_;
    if (static_cast<std::int64_t>(code.size()) != measured) return "internal disaster";

    FindHints(out, flags);
    return nullptr;
  }

 private:
  static constexpr int kDummy = -2;  // the node every pass-1 emit returns

  void Begin(std::vector<std::uint8_t>* code) {
    code_ = code;
    parse_ = 0;
    groups_ = 1;
    size_ = 0;
    Emit(kMagic);
  }

  std::uint8_t Peek() const { return pattern_[parse_]; }
  bool Failed() const { return error_ != nullptr; }
  int Fail(const char* message) {
    if (!error_) error_ = message;
    return kNoNode;
  }

  // ---- Emitting

  void Emit(std::uint8_t b) {
    if (code_)
      code_->push_back(b);
    else
      ++size_;
  }

  int Node(std::uint8_t op) {
    if (!code_) {
      size_ += kNodeHeader;
      return kDummy;
    }
    int at = static_cast<int>(code_->size());
    code_->push_back(op);
    code_->push_back(0);
    code_->push_back(0);
    return at;
  }

  // Puts a node in front of the finished atom at `operand`.
  void Insert(std::uint8_t op, int operand) {
    if (!code_) {
      size_ += kNodeHeader;
      return;
    }
    const std::uint8_t header[kNodeHeader] = {op, 0, 0};
    code_->insert(code_->begin() + operand, header, header + kNodeHeader);
  }

  int Next(int node) const {
    if (!code_ || node < 0) return kNoNode;
    return NextOf(code_->data(), node);
  }

  // Links the last node of the chain starting at `p` to `target`.
  void Tail(int p, int target) {
    if (!code_ || p < 0 || target < 0) return;
    int scan = p;
    for (int next = Next(scan); next != kNoNode; next = Next(scan)) scan = next;
    int offset = (*code_)[scan] == kBack ? scan - target : target - scan;
    if (offset <= 0 || offset > 0xFFFF) {
      Fail("internal disaster");
      return;
    }
    SetLink(code_->data(), scan, offset);
  }

  // Tail on the operand chain of a BRANCH node; other nodes are left alone.
  void OpTail(int p, int target) {
    if (!code_ || p < 0 || (*code_)[p] != kBranch) return;
    Tail(OperandOf(p), target);
  }

  // ---- Parsing

  // The whole pattern (paren false) or a parenthesised group.
  int Reg(bool paren, int* flags) {
    *flags = kHasWidth;
    int ret = kNoNode;
    int group = 0;
    if (paren) {
      if (groups_ >= kGroupCount) return Fail("too many ()");
      group = groups_++;
      ret = Node(static_cast<std::uint8_t>(kOpen + group));
    }

    int branchFlags = 0;
    int branch = Branch(&branchFlags);
    if (Failed()) return kNoNode;
    if (ret != kNoNode)
      Tail(ret, branch);
    else
      ret = branch;
    if (!(branchFlags & kHasWidth)) *flags &= ~kHasWidth;
    *flags |= branchFlags & kSpStart;
    while (Peek() == '|') {
      ++parse_;
      branch = Branch(&branchFlags);
      if (Failed()) return kNoNode;
      Tail(ret, branch);
      if (!(branchFlags & kHasWidth)) *flags &= ~kHasWidth;
      *flags |= branchFlags & kSpStart;
    }

    int ender = Node(static_cast<std::uint8_t>(paren ? kClose + group : kEnd));
    Tail(ret, ender);
    for (int b = ret; b != kNoNode; b = Next(b)) OpTail(b, ender);
    if (Failed()) return kNoNode;

    if (paren) {
      if (Peek() != ')') return Fail("unmatched ()");
      ++parse_;
    } else if (Peek() != '\0') {
      return Fail(Peek() == ')' ? "unmatched ()" : "junk on end");
    }
    return ret;
  }

  // One alternative: a BRANCH node followed by its pieces.
  int Branch(int* flags) {
    *flags = kWorst;
    int ret = Node(kBranch);
    int chain = kNoNode;
    for (std::uint8_t c = Peek(); c != '\0' && c != '|' && c != ')'; c = Peek()) {
      int pieceFlags = 0;
      int latest = Piece(&pieceFlags);
      if (Failed()) return kNoNode;
      *flags |= pieceFlags & kHasWidth;
      if (chain == kNoNode)
        *flags |= pieceFlags & kSpStart;
      else
        Tail(chain, latest);
      chain = latest;
    }
    if (chain == kNoNode) Node(kNothing);
    return ret;
  }

  // An atom and the repetition operator that may follow it.
  int Piece(int* flags) {
    int atomFlags = 0;
    int ret = Atom(&atomFlags);
    if (Failed()) return kNoNode;
    std::uint8_t op = Peek();
    if (!IsRepeat(op)) {
      *flags = atomFlags;
      return ret;
    }
    if (!(atomFlags & kHasWidth) && op != '?') return Fail("*+ operand could be empty");
    *flags = op != '+' ? (kWorst | kSpStart) : (kWorst | kHasWidth);

    if (op == '*' && (atomFlags & kSimple)) {
      Insert(kStar, ret);
    } else if (op == '*') {
      // x* as (x BACK-to-start | nothing): loop through the branch nodes.
      Insert(kBranch, ret);
      OpTail(ret, Node(kBack));
      OpTail(ret, ret);
      Tail(ret, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else if (op == '+' && (atomFlags & kSimple)) {
      Insert(kPlus, ret);
    } else if (op == '+') {
      // x+ as x (BACK-to-x | nothing).
      int next = Node(kBranch);
      Tail(ret, next);
      Tail(Node(kBack), ret);
      Tail(next, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else {
      // x? as (x | nothing).
      Insert(kBranch, ret);
      Tail(ret, Node(kBranch));
      int next = Node(kNothing);
      Tail(ret, next);
      OpTail(ret, next);
    }
    if (Failed()) return kNoNode;
    ++parse_;
    if (IsRepeat(Peek())) return Fail("nested *?+");
    return ret;
  }

  int Atom(int* flags) {
    *flags = kWorst;
    std::uint8_t c = Peek();
    // Branch stops at these, so they never start an atom.
    if (c == '\0' || c == '|' || c == ')') return Fail("internal urp");
    ++parse_;
    switch (c) {
      case '^':
        return Node(kBol);
      case '$':
        return Node(kEol);
      case '.':
        *flags |= kHasWidth | kSimple;
        return Node(kAny);
      case '[': {
        int ret = BracketExpression();
        *flags |= kHasWidth | kSimple;
        return ret;
      }
      case '(': {
        int groupFlags = 0;
        int ret = Reg(true, &groupFlags);
        *flags |= groupFlags & (kHasWidth | kSpStart);
        return ret;
      }
      case '?':
      case '+':
      case '*':
        return Fail("?+* follows nothing");
      case '\\': {
        if (Peek() == '\0') return Fail("trailing \\");
        int ret = Node(kExactly);
        Emit(pattern_[parse_++]);
        Emit('\0');
        *flags |= kHasWidth | kSimple;
        return ret;
      }
      default:
        --parse_;
        return LiteralRun(flags);
    }
  }

  // "[" has been read.
  int BracketExpression() {
    int ret;
    if (Peek() == '^') {
      ret = Node(kAnyBut);
      ++parse_;
    } else {
      ret = Node(kAnyOf);
    }
    if (Peek() == ']' || Peek() == '-') Emit(pattern_[parse_++]);
    while (Peek() != '\0' && Peek() != ']') {
      if (Peek() != '-') {
        Emit(pattern_[parse_++]);
        continue;
      }
      ++parse_;
      if (Peek() == ']' || Peek() == '\0') {
        Emit('-');
        continue;
      }
      // A range: its first byte, the one before "-", is already in the set.
      int from = pattern_[parse_ - 2] + 1;
      int to = pattern_[parse_];
      if (from > to + 1) return Fail("invalid [] range");
      for (; from <= to; ++from) Emit(static_cast<std::uint8_t>(from));
      ++parse_;
    }
    Emit('\0');
    if (Peek() != ']') return Fail("unmatched []");
    ++parse_;
    return ret;
  }

  // A run of ordinary bytes. When a repetition operator follows, its last
  // byte is left for an atom of its own, so that the operator applies to it.
  int LiteralRun(int* flags) {
    const char* at = reinterpret_cast<const char*>(pattern_ + parse_);
    std::size_t length = std::strcspn(at, kMeta);
    if (length == 0) return Fail("internal disaster");
    if (length > 1 && IsRepeat(pattern_[parse_ + length])) --length;
    *flags |= kHasWidth;
    if (length == 1) *flags |= kSimple;
    int ret = Node(kExactly);
    for (; length > 0; --length) Emit(pattern_[parse_++]);
    Emit('\0');
    return ret;
  }

  // ---- Hints for the search.

  // The walk behind the first-byte set. Budget for nodes looked at: a loop
  // (BACK) or a large pattern ends the walk without a set.
  struct FirstWalk {
    const std::uint8_t* code;
    int size;
    Program* out;
    int budget = 4096;

    // Adds the bytes a match that goes on at `scan` can begin with. False
    // when it could begin with any byte, or be empty, or the walk gave up.
    bool From(int scan) {
      for (;;) {
        if (--budget < 0 || scan < 1 || scan > size - kNodeHeader) return false;
        const std::uint8_t op = code[scan];
        switch (op) {
          case kExactly:
            if (OperandOf(scan) >= size || code[OperandOf(scan)] == 0) return false;
            out->firstBytes[code[OperandOf(scan)]] = true;
            return true;
          case kAnyOf:
          case kAnyBut: {
            const int operand = OperandOf(scan);
            const void* nul = std::memchr(code + operand, 0, static_cast<std::size_t>(size - operand));
            if (!nul) return false;
            bool in[256] = {};
            for (const std::uint8_t* b = code + operand; b != nul; ++b) in[*b] = true;
            // The text never holds a NUL byte.
            for (int b = 1; b < 256; ++b)
              if (in[b] == (op == kAnyOf)) out->firstBytes[b] = true;
            return true;
          }
          case kBol:
            out->firstAtStart = true;
            return true;
          case kBranch:
            for (int b = scan; b != kNoNode; b = NextOf(code, b)) {
              if (b < 1 || b > size - kNodeHeader) return false;
              if (code[b] != kBranch) break;
              if (!From(OperandOf(b))) return false;
            }
            return true;
          case kStar:
            if (!From(OperandOf(scan))) return false;
            break;  // none at all: what follows begins the match
          case kPlus:
            return From(OperandOf(scan));
          case kNothing:
          case kOpen + 1: case kOpen + 2: case kOpen + 3: case kOpen + 4: case kOpen + 5:
          case kOpen + 6: case kOpen + 7: case kOpen + 8: case kOpen + 9:
          case kClose + 1: case kClose + 2: case kClose + 3: case kClose + 4: case kClose + 5:
          case kClose + 6: case kClose + 7: case kClose + 8: case kClose + 9:
            break;
          default:  // kAny, kEol, kEnd, kBack and anything unknown
            return false;
        }
        scan = NextOf(code, scan);
        if (scan == kNoNode) return false;
      }
    }
  };

  void FindFirstBytes(Program* out) {
    FirstWalk walk{out->code.data(), static_cast<int>(out->code.size()), out};
    out->firstSet = walk.From(1);
    if (!out->firstSet) {
      out->firstAtStart = false;
      for (bool& b : out->firstBytes) b = false;
    }
  }

  void FindHints(Program* out, int flags) {
    FindFirstBytes(out);
    const std::uint8_t* code = out->code.data();
    int size = static_cast<int>(out->code.size());
    out->startHint = -1;
    out->anchored = false;
    out->mustOffset = -1;
    out->mustLength = 0;
    int first = 1;  // the top-level BRANCH
    int next = NextOf(code, first);
    if (next == kNoNode || code[next] != kEnd) return;

    int scan = OperandOf(first);
    if (code[scan] == kExactly)
      out->startHint = code[OperandOf(scan)];
    else if (code[scan] == kBol)
      out->anchored = true;

    // A pattern that starts with an optional piece gets no start hint; the
    // longest literal that every match holds lets a search give up early.
    if (!(flags & kSpStart)) return;
    for (; scan != kNoNode && scan + kNodeHeader <= size; scan = NextOf(code, scan)) {
      if (code[scan] != kExactly) continue;
      int operand = OperandOf(scan);
      int length = static_cast<int>(std::strlen(reinterpret_cast<const char*>(code + operand)));
      if (length >= out->mustLength) {
        out->mustOffset = operand;
        out->mustLength = length;
      }
    }
  }

  const std::uint8_t* pattern_;
  std::size_t parse_ = 0;
  int groups_ = 1;
  std::int64_t size_ = 0;                     // pass 1
  std::vector<std::uint8_t>* code_ = nullptr;  // pass 2
  const char* error_ = nullptr;
};

}  // namespace

const char* CompileProgram(const char* pattern, Program* out) {
  try {
    Compiler compiler(pattern);
    const char* error = compiler.Run(out);
    if (error) *out = Program();
    return error;
  } catch (const std::bad_alloc&) {
    *out = Program();
    return "out of space";
  }
}

}  // namespace regexp_detail
