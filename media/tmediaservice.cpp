// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tmediaservice.h"

#include "media/tcddevice.h"
#include "media/tfiledevice.h"
#include "media/trecorderdevice.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <system_error>

namespace {

constexpr std::size_t kMaxCommand = 4096;

enum class TDeviceType { Unknown, Wave, Mp3, Cd };

TDeviceType typeNamed(std::string_view name) {
  if (name == "waveaudio") return TDeviceType::Wave;
  if (name == "mpegvideo" || name == "mpegaudio" || name == "mp3") return TDeviceType::Mp3;
  if (name == "cdaudio") return TDeviceType::Cd;
  return TDeviceType::Unknown;
}

TDeviceType typeForFile(std::string_view name) {
  const std::string ext = zek::extensionLower(name);
  if (ext == ".wav") return TDeviceType::Wave;
  if (ext == ".mp3" || ext == ".mp2" || ext == ".mpa") return TDeviceType::Mp3;
  return TDeviceType::Unknown;
}

bool isRegularFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

TMediaService::TMediaService() : TMediaService(TOptions{}) {}

TMediaService::TMediaService(TOptions options)
    : m_backend(std::move(options.backend)),
      m_openCdDrive(std::move(options.openCdDrive)),
      m_mapPath(std::move(options.mapPath)) {
  if (!m_backend) m_backend = makeDefaultAudioBackend();
  if (!m_openCdDrive) m_openCdDrive = [](TMediaError& error) { return openSystemCdDrive(error); };
  if (!m_mapPath) m_mapPath = [](std::string_view name) { return zek::resolveName(name); };
}

TMediaService::~TMediaService() = default;

std::vector<std::string> TMediaService::aliases() const {
  std::vector<std::string> names;
  for (const auto& [name, device] : m_devices) names.push_back(name);
  return names;
}

TMediaDevice* TMediaService::device(const std::string& alias) {
  const auto it = m_devices.find(alias);
  return it == m_devices.end() ? nullptr : it->second.get();
}

TMediaReply TMediaService::execute(std::string_view text) {
  if (text.size() > kMaxCommand) return TMediaReply::fail(TMediaError::CommandTooLong);
  TMediaError error = TMediaError::None;
  const std::optional<TMediaCommand> command = TMediaCommand::parse(text, error);
  if (!command) return TMediaReply::fail(error);
  if (command->verb.empty()) return TMediaReply::fail(TMediaError::UnknownCommand);
  TMediaWordReader args(command->words);
  const std::string& verb = command->verb;
  if (verb == "open") return open(args);
  if (verb == "close") return close(args);

  using Handler = TMediaReply (*)(TMediaDevice&, TMediaWordReader&);
  static const std::map<std::string, Handler, std::less<>> handlers = {
      {"play", [](TMediaDevice& d, TMediaWordReader& a) { return d.play(a); }},
      {"stop", [](TMediaDevice& d, TMediaWordReader& a) {
         media::skipFlags(a);
         return a.atEnd() ? d.stop() : TMediaReply::fail(TMediaError::BadParameter);
       }},
      {"pause", [](TMediaDevice& d, TMediaWordReader& a) {
         media::skipFlags(a);
         return a.atEnd() ? d.pause() : TMediaReply::fail(TMediaError::BadParameter);
       }},
      {"resume", [](TMediaDevice& d, TMediaWordReader& a) {
         media::skipFlags(a);
         return a.atEnd() ? d.resume() : TMediaReply::fail(TMediaError::BadParameter);
       }},
      {"seek", [](TMediaDevice& d, TMediaWordReader& a) { return d.seek(a); }},
      {"status", [](TMediaDevice& d, TMediaWordReader& a) { return d.status(a); }},
      {"set", [](TMediaDevice& d, TMediaWordReader& a) { return d.set(a); }},
      {"record", [](TMediaDevice& d, TMediaWordReader& a) { return d.record(a); }},
      {"save", nullptr},
  };
  const auto handler = handlers.find(verb);
  if (handler == handlers.end()) return TMediaReply::fail(TMediaError::UnknownCommand);
  const TMediaWord* alias = args.next();
  if (!alias) return TMediaReply::fail(TMediaError::MissingParameter);
  TMediaDevice* target = device(zek::lowerCase(alias->text));
  if (!target) return TMediaReply::fail(TMediaError::NotOpen);
  if (verb == "save") return save(*target, args);
  return handler->second(*target, args);
}

TMediaReply TMediaService::open(TMediaWordReader& args) {
  const TMediaWord* element = args.next();
  if (!element) return TMediaReply::fail(TMediaError::MissingParameter);
  std::optional<std::string> typeName, alias;
  // Options in any order: "type X", "alias Y", and flags that need no answer here.
  TMediaWordReader& a = args;
  while (!a.atEnd()) {
    if (a.accept("type")) {
      const TMediaWord* w = a.next();
      if (!w) return TMediaReply::fail(TMediaError::MissingParameter);
      typeName = zek::lowerCase(w->text);
    } else if (a.accept("alias")) {
      const TMediaWord* w = a.next();
      if (!w) return TMediaReply::fail(TMediaError::MissingParameter);
      alias = zek::lowerCase(w->text);
    } else if (a.accept("shareable") || a.accept("wait") || a.accept("notify")) {
    } else {
      return TMediaReply::fail(TMediaError::BadParameter);
    }
  }

  TDeviceType type = TDeviceType::Unknown;
  bool hasFile = true;
  if (!element->quoted && (element->text == "new" || typeNamed(element->text) != TDeviceType::Unknown)) {
    hasFile = false;
    type = element->text == "new" ? TDeviceType::Wave : typeNamed(element->text);
    if (typeName) {
      const TDeviceType named = typeNamed(*typeName);
      if (named == TDeviceType::Unknown) return TMediaReply::fail(TMediaError::UnknownDeviceType);
      if (element->text != "new" && named != type) return TMediaReply::fail(TMediaError::BadParameter);
      type = named;
    }
    if (element->text == "new" && type != TDeviceType::Wave) return TMediaReply::fail(TMediaError::NotSupported);
  } else {
    type = typeName ? typeNamed(*typeName) : typeForFile(element->text);
    if (type == TDeviceType::Unknown) return TMediaReply::fail(TMediaError::UnknownDeviceType);
    if (type == TDeviceType::Cd) return TMediaReply::fail(TMediaError::BadParameter);
  }
  const std::string name = alias ? *alias : zek::lowerCase(element->text);
  if (name.empty() || name == "all") return TMediaReply::fail(TMediaError::BadParameter);
  if (m_devices.count(name)) return TMediaReply::fail(TMediaError::AliasInUse);

  std::unique_ptr<TMediaDevice> device;
  TMediaError error = TMediaError::None;
  if (hasFile) {
    const std::filesystem::path path = m_mapPath(element->text);
    if (path.empty() || !isRegularFile(path)) return TMediaReply::fail(TMediaError::FileNotFound);
    device = TFileDevice::open(*m_backend, path, type == TDeviceType::Mp3 ? TFileDevice::Kind::Mp3 : TFileDevice::Kind::Wave,
                               error);
  } else if (type == TDeviceType::Cd) {
    std::unique_ptr<TCdDrive> drive = m_openCdDrive(error);
    if (drive) device = std::make_unique<TCdDevice>(*m_backend, std::move(drive));
  } else if (type == TDeviceType::Wave) {
    device = std::make_unique<TRecorderDevice>(*m_backend);
  } else {
    error = TMediaError::MissingParameter;  // an MP3 device needs its file
  }
  if (!device) return TMediaReply::fail(error == TMediaError::None ? TMediaError::DeviceFailed : error);
  m_devices.emplace(name, std::move(device));
  return TMediaReply::ok();
}

TMediaReply TMediaService::close(TMediaWordReader& args) {
  const TMediaWord* alias = args.next();
  if (!alias) return TMediaReply::fail(TMediaError::MissingParameter);
  media::skipFlags(args);
  if (!args.atEnd()) return TMediaReply::fail(TMediaError::BadParameter);
  const std::string name = zek::lowerCase(alias->text);
  if (name == "all" && !alias->quoted) {
    m_devices.clear();
    return TMediaReply::ok();
  }
  if (m_devices.erase(name) == 0) return TMediaReply::fail(TMediaError::NotOpen);
  return TMediaReply::ok();
}

TMediaReply TMediaService::save(TMediaDevice& device, TMediaWordReader& args) {
  const TMediaWord* file = args.next();
  if (!file) return TMediaReply::fail(TMediaError::MissingParameter);
  media::skipFlags(args);
  if (!args.atEnd()) return TMediaReply::fail(TMediaError::BadParameter);
  // The target need not exist; its folder is looked up without regard to case.
  const std::filesystem::path path = m_mapPath(file->text);
  if (path.empty()) return TMediaReply::fail(TMediaError::WriteFailed);
  return device.save(path);
}
