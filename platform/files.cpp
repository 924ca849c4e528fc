#include "platform/files.h"

#include "platform/codec.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace zek {

fs::path toPath(std::string_view name) { return fs::path(cp1252ToUtf8(forwardSlashes(name))); }

std::string fromPath(const fs::path& path) { return utf8ToCp1252(path.generic_string()); }

fs::path resolvePath(const fs::path& path) {
  std::error_code ec;
  if (path.empty() || fs::exists(path, ec)) return path;
  fs::path current = path.root_path();
  fs::path rel = path.relative_path();
  if (current.empty()) current = ".";
  bool first = true;
  for (const fs::path& part : rel) {
    if (part.empty() || part == ".") continue;
    fs::path candidate = (first && path.root_path().empty()) ? part : current / part;
    if (!fs::exists(candidate, ec)) {
      const std::string want = lowerCase(utf8ToCp1252(part.string()));
      bool found = false;
      fs::directory_iterator it(current, ec), end;
      for (; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        if (lowerCase(utf8ToCp1252(name.string())) == want) {
          candidate = (first && path.root_path().empty()) ? name : current / name;
          found = true;
          break;
        }
      }
      if (!found) return path;
    }
    current = candidate;
    first = false;
  }
  return current;
}

bool fileExists(std::string_view name) {
  if (name.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(resolvePath(toPath(name)), ec);
}

bool directoryExists(std::string_view name) {
  if (name.empty()) return false;
  std::error_code ec;
  return fs::is_directory(resolvePath(toPath(name)), ec);
}

std::string forwardSlashes(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

std::string withTrailingSeparator(std::string_view dir) {
  std::string out = forwardSlashes(dir);
  if (!out.empty() && out.back() != '/') out.push_back('/');
  return out;
}

std::string directoryPart(std::string_view name) {
  const size_t p = name.find_last_of("\\/");
  return p == std::string_view::npos ? std::string() : forwardSlashes(name.substr(0, p + 1));
}

std::string fileNamePart(std::string_view name) {
  const size_t p = name.find_last_of("\\/");
  return std::string(p == std::string_view::npos ? name : name.substr(p + 1));
}

std::string extensionLower(std::string_view name) {
  const std::string file = fileNamePart(name);
  const size_t dot = file.rfind('.');
  return dot == std::string::npos ? std::string() : lowerCase(file.substr(dot));
}

bool isAbsoluteName(std::string_view name) { return !name.empty() && (name[0] == '/' || name[0] == '\\'); }

std::filesystem::path pathFromEnv(const char* variable, const std::filesystem::path& fallback) {
  const char* value = std::getenv(variable);
  return value && *value ? std::filesystem::path(value) : fallback;
}

namespace {

// An XDG base folder: the variable, else the folder below HOME.
std::filesystem::path xdgBase(const char* variable, const char* belowHome) {
  const char* home = std::getenv("HOME");
  const std::filesystem::path fallback =
      home && *home ? std::filesystem::path(home) / belowHome : std::filesystem::temp_directory_path();
  return pathFromEnv(variable, fallback);
}

}  // namespace

std::filesystem::path learnerDataDir() { return xdgBase("XDG_DATA_HOME", ".local/share") / "zek-englisch"; }

std::filesystem::path learnerConfigDir() { return xdgBase("XDG_CONFIG_HOME", ".config") / "zek-englisch"; }

std::optional<std::string> readFile(const fs::path& path, std::uintmax_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct TCloser {
    int fd;
    ~TCloser() { ::close(fd); }
  } closer{fd};
  // A regular file is read in one piece into a buffer of its size; one byte more is asked
  // for, so a file that grew meanwhile is still read to its end.
  struct stat st {};
  std::string data;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    if (static_cast<std::uintmax_t>(st.st_size) > limit) return std::nullopt;
    data.resize(static_cast<std::size_t>(st.st_size) + 1);
  } else {
    data.resize(65536);
  }
  std::size_t have = 0;
  for (;;) {
    if (have == data.size()) {
      if (have > limit) return std::nullopt;
      data.resize(std::min<std::uintmax_t>(data.size() * 2, limit + 1));
    }
    const ssize_t n = ::read(fd, data.data() + have, data.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
  }
  if (have > limit) return std::nullopt;
  data.resize(have);
  return data;
}

namespace {

// "NAME.tmpPID_N", as writeFileAtomic names its temporary files: the PID, or -1.
long tempFileOwner(const std::string& name) {
  const std::size_t at = name.rfind(".tmp");
  if (at == std::string::npos) return -1;
  const std::size_t bar = name.find('_', at + 4);
  if (bar == std::string::npos || bar == at + 4 || bar + 1 >= name.size() || bar - at - 4 > 9) return -1;
  const auto digits = [&name](std::size_t from, std::size_t to) {
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(from), name.begin() + static_cast<std::ptrdiff_t>(to),
                       [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits(at + 4, bar) || !digits(bar + 1, name.size())) return -1;
  return std::stol(name.substr(at + 4, bar - at - 4));
}

}  // namespace

void removeStaleTempFiles(const fs::path& folder) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const long pid = tempFileOwner(it->path().filename().string());
    // A save of a process that still runs (or of this one, on another thread) may be
    // under way; only a writer that is gone left its file behind for good.
    if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    if (it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
  }
}

bool writeFileAtomic(const fs::path& path, std::string_view data) {
  std::error_code ec;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
  // What a save killed half-way left beside its target goes now, not never.
  removeStaleTempFiles(path.parent_path());
  std::random_device rd;
  fs::path tmp = path;
  tmp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(rd() % 100000);
  {
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size() && std::fflush(f) == 0 &&
                    ::fsync(::fileno(f)) == 0;
    if (std::fclose(f) != 0 || !ok) {
      fs::remove(tmp, ec);
      return false;
    }
  }
  fs::rename(tmp, path, ec);
  if (ec) {
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

TInflateStatus inflateZlibInto(std::string_view compressed, std::size_t limit, std::string& out) {
  out.clear();
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return TInflateStatus::Broken;
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  zs.avail_in = static_cast<uInt>(compressed.size());
  char buf[4096];
  TInflateStatus status = TInflateStatus::Broken;
  while (true) {
    zs.next_out = reinterpret_cast<Bytef*>(buf);
    zs.avail_out = sizeof buf;
    const int rc = inflate(&zs, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) break;
    out.append(buf, sizeof buf - zs.avail_out);
    if (out.size() > limit) {
      status = TInflateStatus::TooLarge;
      break;
    }
    if (rc == Z_STREAM_END) {
      status = TInflateStatus::Ok;
      break;
    }
    if (zs.avail_in == 0 && zs.avail_out != 0) break;  // truncated stream
  }
  inflateEnd(&zs);
  if (status != TInflateStatus::Ok) out.clear();
  return status;
}

std::optional<std::string> inflateZlib(std::string_view compressed, std::size_t limit) {
  std::string out;
  if (inflateZlibInto(compressed, limit, out) != TInflateStatus::Ok) return std::nullopt;
  return out;
}

std::string deflateZlib(std::string_view data, int level) {
  // Whole-buffer compression; the result is an ordinary zlib stream with the header that
  // zlib writes for the same level (zlib's "default" -1 is level 6).
  libdeflate_compressor* c = libdeflate_alloc_compressor(level < 0 ? 6 : std::min(level, 9));
  if (!c) return {};
  // The bound is far above what text needs: a scratch buffer whose unused pages are never
  // touched, and only the result copied out.
  const std::size_t bound = libdeflate_zlib_compress_bound(c, data.size());
  char* scratch = static_cast<char*>(std::malloc(bound));
  std::string out;
  if (scratch) {
    const std::size_t size = libdeflate_zlib_compress(c, data.data(), data.size(), scratch, bound);
    out.assign(scratch, size);
    std::free(scratch);
  }
  libdeflate_free_compressor(c);
  return out;
}

}  // namespace zek
