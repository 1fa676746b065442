// The resource compiler: a resource script (RC-like text, see
// resources/dialogs/FORMAT.md) becomes dialog templates, menus and
// accelerator tables in their binary forms.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "win/user.h"

namespace win::user {

// A resource name or type: a number, or a string.
struct ResourceKey {
  bool isNumber = true;
  WORD number = 0;
  std::string text;  // compared without case

  bool Matches(const ResourceKey& other) const;
  // From a Win32 argument: MAKEINTRESOURCE(n), "#n", or a name.
  static ResourceKey From(LPCSTR name);
};

struct CompiledResource {
  ResourceKey type;
  ResourceKey name;
  std::vector<BYTE> data;
};

// Largest script we compile.
inline constexpr size_t kMaxResourceScript = 4u << 20;

// False (and `error`: "line N: why") when the script does not compile.
bool CompileResourceScript(std::string_view text, std::vector<CompiledResource>* out,
                           std::string* error);

}  // namespace win::user
