// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Reading a page file: files with the page extensions are zlib streams, any other is
// read as it is. The text always ends with a carriage return and a terminator (NUL).
enum class TPageFileStatus { Ok, NotFound, ReadError, Corrupt, TooLarge };

struct TPageFile {
  TPageFileStatus status = TPageFileStatus::Ok;
  std::string text;  // Windows-1252, ends with "\r" and "\0" when status is Ok
  bool ok() const { return status == TPageFileStatus::Ok; }
};

// True for ".hzek", ".kzel", ".htx" and ".kze" (any case).
bool isCompressedPageName(std::string_view name);

// Reads `path` (looked up without regard to case). Never shows a message.
TPageFile readPageFile(const std::filesystem::path& path);
// The same for bytes already in memory; `name` decides whether they are compressed.
TPageFile pageFileFromBytes(std::string_view name, std::string_view bytes);

// The German message for a failed read of `name` (Windows-1252).
std::string pageFileErrorText(TPageFileStatus status, std::string_view name);

// Reads into `text`; on failure shows the message box and leaves `text` as it was.
bool readPageFileOrReport(const std::filesystem::path& path, std::string& text);
