// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word order lives in platform/ so that the sound layer's recordings store shares it.
#include "platform/collation.h"
