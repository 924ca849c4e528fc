// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/druckauftrag.h"

#include "platform/messages.h"

bool druckAuftrag(const TPrintRequest& auftrag, const std::function<void(TPrintSurface&)>& drucken) {
  TPrintStart start = beginPrintJob(auftrag);
  if (start.cancelled) return false;
  if (!start.surface) {
    showMessage("Das Drucken ist nicht m\xF6glich!\r" + start.error, mb::Ok | mb::IconStop);
    return false;
  }
  drucken(*start.surface);
  if (!start.surface->finish()) {
    showMessage("Beim Drucken ist ein Fehler aufgetreten!\r" + start.surface->error(), mb::Ok | mb::IconStop);
    return false;
  }
  return true;
}
