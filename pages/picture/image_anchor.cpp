#include "pages/picture/image_anchor.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/logbook.h"

ImageAnchor::ImageAnchor(const char* text, std::int32_t anchorId, std::int32_t isActive)
    : id(anchorId), active(isActive) {
  const std::string all = text ? text : "";
  TheLogbook().Write(all.c_str());
  std::vector<std::string> tokens;
  std::size_t pos = 0;
  while (pos < all.size()) {
    const std::size_t start = all.find_first_not_of(" \t", pos);
    if (start == std::string::npos) break;
    const std::size_t end = all.find_first_of(" \t", start);
    tokens.push_back(all.substr(start, end == std::string::npos ? std::string::npos : end - start));
    pos = end == std::string::npos ? all.size() : end;
  }
  if (tokens.empty()) {
    TheLogbook().Write(("invalid image anchor position " + all).c_str());
    return;
  }
  if (tokens[0] == "RECT") shape = 'r';
  else if (tokens[0] == "CIRCLE") shape = 'c';
  else if (tokens[0] == "ELLIPSE") shape = 'e';
  else {
    TheLogbook().Write(("unknown anchor position " + all).c_str());
    return;
  }
  auto number = [&](std::size_t i) { return i < tokens.size() ? std::strtod(tokens[i].c_str(), nullptr) : 0.0; };
  x1 = number(1);
  y1 = number(2);
  if (shape == 'c') {
    radius = number(3);
  } else {
    x2 = number(3);
    y2 = number(4);
  }
}
