#include "core/viewer_launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "core/viewer_templates.h"

extern char** environ;

namespace {

// Viewers run on their own; their end is not waited for. Each start
// collects those that have ended, so that none lingers as a zombie (the
// signal disposition of the program is left alone).
std::vector<pid_t>& StartedViewers() {
  static std::vector<pid_t> pids;
  return pids;
}

void ReapViewers() {
  std::vector<pid_t>& pids = StartedViewers();
  std::erase_if(pids, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

}  // namespace

std::vector<std::string> SplitCommandLine(const CString& command) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (int i = 0; i < command.GetLength(); ++i) {
    const char c = command[i];
    if (c == '"' && quoted && i + 1 < command.GetLength() && command[i + 1] == '"') {
      word += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

CString JoinCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& w : words) {
    if (!line.empty()) line += ' ';
    if (!w.empty() && w.find_first_of(" \t\"") == std::string::npos) {
      line += w;
      continue;
    }
    line += '"';
    for (char c : w) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  return CString(line.c_str());
}

ViewerStart StartViewer(const CString& command, CString& why) {
  why.Empty();
  if (command == kInternalViewerCommand) return ViewerStart::kInternal;
  const std::vector<std::string> words = SplitCommandLine(command);
  if (words.empty()) {
    why = "No viewer is configured for this document type";
    return ViewerStart::kNotConfigured;
  }
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);

  ReapViewers();
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  if (rc != 0) {
    why = CString("Cannot start viewer ") + words[0].c_str() + ": " + std::strerror(rc);
    return ViewerStart::kFailed;
  }
  StartedViewers().push_back(pid);
  return ViewerStart::kStarted;
}
