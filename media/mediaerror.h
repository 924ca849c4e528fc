// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Error codes of the media command service. The numbers are part of the reply text
// ("Error" + code), so they never change meaning once given out.
enum class TMediaError : int {
  None = 0,
  UnknownCommand = 1,
  MissingParameter = 2,
  BadParameter = 3,
  UnknownDeviceType = 4,
  NotOpen = 5,
  AliasInUse = 6,
  FileNotFound = 7,
  BadFile = 8,
  BadFormat = 9,
  NoAudioDevice = 10,
  NoCdDrive = 11,
  NotReady = 12,
  NotSupported = 13,
  WriteFailed = 14,
  OutOfRange = 15,
  NoSuchTrack = 16,
  DeviceFailed = 17,
  Busy = 18,
  UnclosedQuote = 19,
  CommandTooLong = 20,
};

// Readable German description (Windows-1252).
std::string mediaErrorText(TMediaError error);
std::string mediaErrorText(int code);
