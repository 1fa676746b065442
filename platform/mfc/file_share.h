// Windows file sharing among the files this program holds open through
// CFile: each open registers its access and share mode under the file's
// identity, and an open that conflicts with a registered one is refused.
#pragma once

#include "win/types.h"

namespace zemra_mfc {

// Registers `owner`'s open of the file behind `fd`; false when it conflicts
// with an open registered before.
bool RegisterShare(const void* owner, int fd, UINT openFlags);
void UnregisterShare(const void* owner);

}  // namespace zemra_mfc
