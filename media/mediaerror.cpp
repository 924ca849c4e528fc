// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediaerror.h"

std::string mediaErrorText(TMediaError error) {
  // Windows-1252: \xe4 ä, \xf6 ö, \xfc ü, \xdf ß, \xc4 Ä, \xdc Ü.
  switch (error) {
    case TMediaError::None: return "Der Befehl wurde ausgef\xfchrt.";
    case TMediaError::UnknownCommand: return "Der Befehl ist unbekannt.";
    case TMediaError::MissingParameter: return "Dem Befehl fehlt eine Angabe.";
    case TMediaError::BadParameter: return "Eine Angabe im Befehl ist ung\xfcltig.";
    case TMediaError::UnknownDeviceType: return "Der Ger\xe4tetyp ist unbekannt.";
    case TMediaError::NotOpen: return "Das Ger\xe4t ist nicht ge\xf6" "ffnet.";
    case TMediaError::AliasInUse: return "Der Aliasname wird bereits verwendet.";
    case TMediaError::FileNotFound: return "Die Datei wurde nicht gefunden.";
    case TMediaError::BadFile: return "Die Datei ist besch\xe4" "digt oder hat ein unbekanntes Format.";
    case TMediaError::BadFormat: return "Das Audioformat wird nicht unterst\xfctzt.";
    case TMediaError::NoAudioDevice: return "Es ist kein Audioger\xe4t verf\xfc" "gbar.";
    case TMediaError::NoCdDrive: return "Es wurde kein CD-Laufwerk gefunden.";
    case TMediaError::NotReady: return "Das Ger\xe4t ist nicht bereit. Ist eine CD eingelegt?";
    case TMediaError::NotSupported: return "Das Ger\xe4t unterst\xfctzt diesen Befehl nicht.";
    case TMediaError::WriteFailed: return "Die Datei konnte nicht geschrieben werden.";
    case TMediaError::OutOfRange: return "Die Position liegt au\xdf" "erhalb der Aufnahme.";
    case TMediaError::NoSuchTrack: return "Diesen Titel gibt es auf der CD nicht.";
    case TMediaError::DeviceFailed: return "Das Audioger\xe4t meldet einen Fehler.";
    case TMediaError::Busy: return "Das Ger\xe4t ist gerade besch\xe4" "ftigt.";
    case TMediaError::UnclosedQuote: return "Im Befehl fehlt ein schlie\xdf" "endes Anf\xfchrungszeichen.";
    case TMediaError::CommandTooLong: return "Der Befehl ist zu lang.";
  }
  return "Unbekannter Fehler.";
}

std::string mediaErrorText(int code) {
  if (code < 0 || code > static_cast<int>(TMediaError::CommandTooLong)) return "Unbekannter Fehler.";
  return mediaErrorText(static_cast<TMediaError>(code));
}
