// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zek {

// The version of this build ("0.1"), taken from the project's version at configure time.
const char* programVersion();

}  // namespace zek
