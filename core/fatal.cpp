#include "core/fatal.h"

#include <cstdlib>
#include <utility>

#include "framework/app_hooks.h"
#include "core/message_boxes.h"

namespace {

constexpr int kFatalStatus = -1;

FatalExitHook& exitHook() {
  static FatalExitHook hook;
  return hook;
}

[[noreturn]] void endProgram() {
  CleanupBeforeExit(kFatalStatus);
  if (exitHook()) exitHook()(kFatalStatus);
  std::exit(kFatalStatus);
}

}  // namespace

FatalExitHook SetFatalExitHook(FatalExitHook hook) {
  return std::exchange(exitHook(), std::move(hook));
}

void FatalError() {
  ShowErrorText(kFatalErrorText);
  endProgram();
}

void FatalErrorText(const char* text) {
  ShowErrorTexts("!! A FATAL ERROR occurred - the program will exit !!\nError:", text);
  endProgram();
}

void FatalErrorBox(const char* text) {
  ShowErrorText(text ? text : "");
  endProgram();
}
