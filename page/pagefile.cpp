// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/pagefile.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <cerrno>
#include <system_error>

namespace {

void terminate(std::string& text) {
  if (text.empty() || text.back() != '\r') text.push_back('\r');
  text.push_back('\0');
}

}  // namespace

bool isCompressedPageName(std::string_view name) {
  const std::string ext = zek::extensionLower(name);
  return ext == ".hzek" || ext == ".kzel" || ext == ".htx" || ext == ".kze";
}

TPageFile pageFileFromBytes(std::string_view name, std::string_view bytes) {
  TPageFile result;
  if (isCompressedPageName(name)) {
    // A stream that passes the bound counts as too large at once: inflating it to the end
    // only to learn whether it is also broken would cost what the bound is there to prevent.
    switch (zek::inflateZlibInto(bytes, zek::kInflateLimit, result.text)) {
      case zek::TInflateStatus::Ok: break;
      case zek::TInflateStatus::TooLarge: result.status = TPageFileStatus::TooLarge; return result;
      case zek::TInflateStatus::Broken: result.status = TPageFileStatus::Corrupt; return result;
    }
  } else {
    if (bytes.size() > zek::kInflateLimit) {
      result.status = TPageFileStatus::TooLarge;
      return result;
    }
    result.text.assign(bytes);
  }
  terminate(result.text);
  return result;
}

TPageFile readPageFile(const std::filesystem::path& path) {
  const std::filesystem::path real = zek::resolvePath(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(real, ec)) return {TPageFileStatus::NotFound, {}};
  // Compressed pages are far smaller than what they inflate to; the raw bound only
  // keeps a wrong file from filling memory.
  const auto bytes = zek::readFile(real, zek::kInflateLimit);
  if (!bytes) {
    return {std::filesystem::file_size(real, ec) > zek::kInflateLimit ? TPageFileStatus::TooLarge
                                                                       : TPageFileStatus::ReadError,
            {}};
  }
  return pageFileFromBytes(zek::fromPath(real), *bytes);
}

std::string pageFileErrorText(TPageFileStatus status, std::string_view name) {
  const std::string n(name);
  switch (status) {
    case TPageFileStatus::Ok: return {};
    case TPageFileStatus::NotFound: return "Die Datei \"" + n + "\" wurde nicht gefunden.";
    case TPageFileStatus::ReadError: return "Die Datei \"" + n + "\" konnte nicht gelesen werden.";
    case TPageFileStatus::Corrupt:
      return "Die Seite \"" + n + "\" ist besch\xE4" "digt und kann nicht angezeigt werden.";
    case TPageFileStatus::TooLarge: return "Die Seite \"" + n + "\" ist zu gro\xDF und kann nicht angezeigt werden.";
  }
  return {};
}

bool readPageFileOrReport(const std::filesystem::path& path, std::string& text) {
  TPageFile file = readPageFile(path);
  if (!file.ok()) {
    showMessage(pageFileErrorText(file.status, zek::fromPath(path)), mb::IconStop);
    return false;
  }
  text = std::move(file.text);
  return true;
}
