// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>

// Qt's own texts (file, colour and print dialogs, standard buttons, context menus of text
// fields) in German, from the system's Qt translations. Returns false when they are not
// installed; the program then shows Qt's English texts and goes on.
bool installGermanQtTexts(QCoreApplication& app);
