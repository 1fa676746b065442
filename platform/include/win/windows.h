// The Win32 layer of the client, in one include.
#pragma once

#include "win/types.h"
#include "win/kernel.h"
#include "win/user.h"
#include "win/gdi.h"
