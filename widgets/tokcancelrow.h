// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;

// The row at the foot of a small dialog: OK (the default button) and "&Abbrechen" at the
// right, wired to accept and reject.
QHBoxLayout* okCancelRow(QDialog* dialog, const QString& okCaption = QStringLiteral("&OK"));
