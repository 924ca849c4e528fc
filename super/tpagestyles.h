// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "super/tlongrun.h"

#include <memory>

// The Techno (mode 2) and Seventies (mode 3) presentations on the main page view, for the
// shell's table of page styles. Techno answers nothing, after its message, without pictures.
std::unique_ptr<TLongRun> makeTechnoRun(const TPageRunEnv& env);
std::unique_ptr<TLongRun> makeSeventiesRun(const TPageRunEnv& env);
