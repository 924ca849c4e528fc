// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/tprintservice.h"

#include <functional>

// Runs one print job: starts it, lets `drucken` fill it and ends it. A job that cannot
// start or fails is told to the learner; a cancelled save dialog ends it quietly. False
// unless everything was printed.
bool druckAuftrag(const TPrintRequest& auftrag, const std::function<void(TPrintSurface&)>& drucken);
