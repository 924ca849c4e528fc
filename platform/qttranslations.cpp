// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qttranslations.h"

#include <QLibraryInfo>
#include <QTranslator>

bool installGermanQtTexts(QCoreApplication& app) {
  // "qt_de" pulls in qtbase_de and qtmultimedia_de; owned by the application so they live
  // as long as the texts they translate.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QLocale(QLocale::German, QLocale::Germany), "qt", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}
