// Reads the reference peer's request log: one event per line,
// "<connection>\t<event>\t<name>=<value>\t...", values escaped as \\, \t,
// \n, \r, \0 and \xHH. (Header only: the test folders compile *_test.cpp.)
#pragma once

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace net_test {

struct LogEvent {
  int connection = 0;
  std::string event;
  std::map<std::string, std::string> fields;

  std::string get(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
  }
  bool has(const std::string& name) const { return fields.count(name) != 0; }
};

inline std::string UnescapeLogValue(const std::string& v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 >= v.size()) {
      out += v[i];
      continue;
    }
    char c = v[++i];
    if (c == 'n') out += '\n';
    else if (c == 't') out += '\t';
    else if (c == 'r') out += '\r';
    else if (c == '0') out += '\0';
    else if (c == 'x' && i + 2 < v.size()) {
      out += static_cast<char>(std::strtol(v.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

inline std::vector<LogEvent> ParseLog(const std::string& text) {
  std::vector<LogEvent> events;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
      size_t tab = line.find('\t', start);
      parts.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (parts.size() < 2) continue;
    LogEvent e;
    e.connection = std::atoi(parts[0].c_str());
    e.event = parts[1];
    for (size_t k = 2; k < parts.size(); ++k) {
      size_t eq = parts[k].find('=');
      if (eq != std::string::npos)
        e.fields[parts[k].substr(0, eq)] = UnescapeLogValue(parts[k].substr(eq + 1));
    }
    events.push_back(std::move(e));
  }
  return events;
}

// The events of one kind ("req", "hello", "form", ...), in order; for "req"
// only those of the request name given.
inline std::vector<LogEvent> Events(const std::string& logText, const std::string& event,
                                    const std::string& name = "") {
  std::vector<LogEvent> out;
  for (LogEvent& e : ParseLog(logText))
    if (e.event == event && (name.empty() || e.get("name") == name)) out.push_back(std::move(e));
  return out;
}

inline std::vector<LogEvent> Requests(const std::string& logText, const std::string& name) {
  return Events(logText, "req", name);
}

}  // namespace net_test
