// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/version.h"

#ifndef ZEK_VERSION
#error "ZEK_VERSION is set by the build"
#endif

namespace zek {

const char* programVersion() { return ZEK_VERSION; }

}  // namespace zek
