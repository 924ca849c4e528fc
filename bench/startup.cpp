// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the installed program with the full dictionary: from the moment the process
// is started until the start page has been painted (the program reports the paint when
// ZEK_STARTUP_TIMING is set), off-screen, through the driver so that nothing waits.
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <vector>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

std::filesystem::path distDir() {
  if (const char* env = std::getenv("ZEK_DIST_DIR")) return env;
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "dist";
}

long long monotonicNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

void BM_StartupToFirstPaintedStartPage(benchmark::State& state) {
  const std::filesystem::path program = distDir() / "zek-englisch";
  if (!std::filesystem::exists(program) || !std::filesystem::exists(distDir() / "ZEK_E" / "e_d.zek")) {
    state.SkipWithError("installation missing (build it first)");
    return;
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zek-bench-start-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string script = (dir / "wait.drive").string();
  std::ofstream(script) << "wait 20000\n";
  std::ofstream(dir / "settings.ini") << "";
  const std::string env[] = {"ZEK_STARTUP_TIMING=1",
                             "QT_QPA_PLATFORM=offscreen",
                             "ZEK_AUDIO=null",
                             "ZEK_SETTINGS=" + (dir / "settings.ini").string(),
                             "HOME=" + dir.string(),
                             "XDG_CONFIG_HOME=" + (dir / "config").string(),
                             "XDG_DATA_HOME=" + (dir / "share").string(),
                             "XDG_RUNTIME_DIR=" + dir.string(),
                             std::string("PATH=") + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin")};
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  double cpuMs = 0;
  for (auto _ : state) {
    int fds[2];
    if (pipe(fds) != 0) {
      state.SkipWithError("pipe");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const std::string prog = program.string();
    char* argv[] = {const_cast<char*>(prog.c_str()), const_cast<char*>("--drive"), const_cast<char*>(script.c_str()),
                    nullptr};
    pid_t pid = 0;
    const long long start = monotonicNs();
    const int rc = posix_spawn(&pid, prog.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
      close(fds[0]);
      state.SkipWithError("cannot start the program");
      break;
    }
    std::string out;
    long long painted = 0, cpu = 0;
    char buf[4096];
    for (;;) {
      const ssize_t n = read(fds[0], buf, sizeof buf);
      if (n <= 0) break;
      out.append(buf, static_cast<std::size_t>(n));
      const std::size_t at = out.find("zek-startup-painted ");
      if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
        std::sscanf(out.c_str() + at, "zek-startup-painted %lld %lld", &painted, &cpu);
        break;
      }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(fds[0]);
    if (painted == 0) {
      state.SkipWithError(("no paint reported: " + out.substr(0, 300)).c_str());
      break;
    }
    state.SetIterationTime(static_cast<double>(painted - start) / 1e9);
    cpuMs += static_cast<double>(cpu) / 1e6;
  }
  state.counters["child_cpu_ms"] = cpuMs / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StartupToFirstPaintedStartPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
