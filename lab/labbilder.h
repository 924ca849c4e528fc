// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

// The pictures of the lab's own buttons, drawn once at opening.
namespace labbilder {

// 40 x 40: a red dot on a dark face; switched on, the face lights up and a ring shows.
QImage aufnahme(bool an);
// 40 x 40: a green triangle; switched on, as above.
QImage abspielen(bool an);
// The same picture greyed: the face a disabled button shows.
QImage gesperrt(const QImage& bild);
// A loudspeaker and the word "Vorlesen" on the window colour, text in `schrift`.
QImage vorlesen(QSize groesse, const QColor& grund, const QColor& schrift);

}  // namespace labbilder
