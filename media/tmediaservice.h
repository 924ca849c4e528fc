// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/taudiobackend.h"
#include "media/tcddrive.h"
#include "media/tmediadevice.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Interprets media command strings over the alias table. Each alias is an independent
// device; a failing command only ever affects its own alias.
class TMediaService {
 public:
  struct TOptions {
    std::unique_ptr<TAudioBackend> backend;  // default: the real device or the null device
    std::function<std::unique_ptr<TCdDrive>(TMediaError&)> openCdDrive;  // default: the system's drive
    // Content name ("\" or "/", any case) → file; default: case-insensitive lookup.
    std::function<std::filesystem::path(std::string_view)> mapPath;
  };

  TMediaService();
  explicit TMediaService(TOptions options);
  ~TMediaService();
  TMediaService(const TMediaService&) = delete;
  TMediaService& operator=(const TMediaService&) = delete;

  TMediaReply execute(std::string_view command);

  std::vector<std::string> aliases() const;
  TAudioBackend& backend() { return *m_backend; }
  // The device behind an alias, or nothing; for tests and the tool.
  TMediaDevice* device(const std::string& alias);

 private:
  TMediaReply open(TMediaWordReader& args);
  TMediaReply close(TMediaWordReader& args);
  TMediaReply save(TMediaDevice& device, TMediaWordReader& args);

  std::unique_ptr<TAudioBackend> m_backend;
  std::function<std::unique_ptr<TCdDrive>(TMediaError&)> m_openCdDrive;
  std::function<std::filesystem::path(std::string_view)> m_mapPath;
  std::map<std::string, std::unique_ptr<TMediaDevice>> m_devices;
};
