// Generated HTML pages for the tokenizer's comparison test and benchmark:
// headings, paragraphs with inline markup and entities, lists, tables,
// forms and preformatted text, all written out in full (every element
// closed, no implied elements), with made-up names of places and people.
#pragma once

#include <cstdint>
#include <string>

namespace html_pages {

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : state_(seed ? seed : 1) {}

  // One page of about `words` words.
  std::string Page(int words) {
    std::string out = "<HTML><HEAD><TITLE>" + Words(3) + "</TITLE></HEAD>\n<BODY BGCOLOR=\"#FFFFF0\">\n";
    int written = 0;
    while (written < words) {
      switch (Next() % 7) {
        case 0: {
          const std::string level = std::to_string(1 + Next() % 4);
          out += "<H" + level + ">" + Words(4) + "</H" + level + ">\n";
          written += 4;
          break;
        }
        case 1: {
          out += "<UL>\n";
          for (int i = 0, n = 2 + static_cast<int>(Next() % 4); i < n; ++i) out += "<LI>" + Inline(6) + "</LI>\n";
          out += "</UL>\n";
          written += 18;
          break;
        }
        case 2:
          out += "<TABLE BORDER=1><TR><TH>" + Words(2) + "</TH><TD ALIGN=right>" + Words(3) +
                 "</TD></TR>\n<TR><TD COLSPAN=2>" + Inline(5) + "</TD></TR></TABLE>\n";
          written += 10;
          break;
        case 3:
          out += "<PRE>" + Words(3) + "\n  " + Words(4) + "\n</PRE>\n";
          written += 7;
          break;
        case 4:
          out += "<FORM ACTION=\"/cgi/ask\" METHOD=post><INPUT TYPE=text NAME=q VALUE=\"" + Words(1) +
                 "\"> <INPUT TYPE=submit VALUE=Go></FORM>\n";
          written += 2;
          break;
        default:
          out += "<P>" + Inline(20) + "</P>\n";
          written += 20;
      }
    }
    return out + "</BODY></HTML>\n";
  }

 private:
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

  std::string Word() {
    static const char* const kWords[] = {
        "Orlavka", "harbour", "the", "of", "Mirensk", "valley", "Teodora", "Vasko", "river", "bridge",
        "and", "market", "north", "Kelvath", "station", "old", "winter", "a", "lighthouse", "Ilse",
        "Brannow", "mill", "garden", "to", "caf&eacute;", "na&iuml;ve", "&lt;east&gt;", "R&amp;D",
        "&quot;quoted&quot;", "G&ouml;rlan", "&#65;rden", "&copy;1996", "&Aring;sted"};
    return kWords[Next() % (sizeof kWords / sizeof kWords[0])];
  }

  std::string Words(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      if (i) s += ' ';
      s += Word();
    }
    return s;
  }

  std::string Inline(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      if (i) s += (Next() % 9 == 0) ? "\n" : " ";
      switch (Next() % 12) {
        case 0: s += "<B>" + Word() + "</B>"; break;
        case 1: s += "<I>" + Word() + "</I>"; break;
        case 2: s += "<A HREF=\"" + std::to_string(Next() % 100) + ".html\">" + Word() + "</A>"; break;
        case 3: s += "<EM>" + Word() + "</EM>"; break;
        case 4: s += "<!-- note " + Word() + " -->" + Word(); break;
        default: s += Word();
      }
    }
    return s;
  }

  std::uint32_t state_;
};

}  // namespace html_pages
