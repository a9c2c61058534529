// Process start to the intro window on the screen, with the collection's fourteen record sets
// open, and the resident memory at that moment; beside a bare Qt program that only shows a
// window of the same size. Needs an X display (run it under tests/support/with_xvfb.sh).
//
//   startup_bench KELVORA BARE_WINDOW SHIPPED_MDB [benchmark flags]
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_data.h"

// Last: Xlib defines macros (Status, None, ...) that the engine's headers use as names.
#include <X11/Xlib.h>

namespace {

std::string g_kelvora, g_bare, g_shipped;
// One connection for the whole run, watching the root window for windows being mapped.
Display* g_display = nullptr;

struct StartResult {
    double seconds = -1;
    double residentMiB = 0;
};

double residentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// Starts `program` in `folder` and waits for a top-level window of 450 x 479 to be mapped.
StartResult startAndWait(const std::string& program, const std::filesystem::path& folder) {
    StartResult result;
    Display* display = g_display;
    XSync(display, True);  // forget the events of earlier runs

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = start + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (XPending(display) == 0) {
            usleep(200);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify) continue;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, event.xmap.window, &attributes) == 0) continue;
        if (attributes.width == 450 && attributes.height == 479) {
            result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            result.residentMiB = residentMiB(pid);
            break;
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return result;
}

void runStart(benchmark::State& state, const std::string& program, const std::filesystem::path& mdb) {
    const auto folder = std::filesystem::temp_directory_path() / ("kelvora-start-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::remove(folder / "kelvora.mdb");
    if (!mdb.empty()) std::filesystem::create_symlink(std::filesystem::absolute(mdb), folder / "kelvora.mdb");
    double memory = 0;
    for (auto _ : state) {
        const StartResult result = startAndWait(program, folder);
        if (result.seconds < 0) {
            state.SkipWithError("the window did not appear within 30 s");
            break;
        }
        state.SetIterationTime(result.seconds);
        memory = result.residentMiB;
    }
    state.counters["resident_MiB"] = memory;
    if (!mdb.empty()) state.counters["file_MiB"] = static_cast<double>(std::filesystem::file_size(mdb)) / (1 << 20);
    std::filesystem::remove_all(folder);
}

void BM_Start_BareQtWindow(benchmark::State& state) { runStart(state, g_bare, {}); }
void BM_Start_Kelvora_Shipped(benchmark::State& state) { runStart(state, g_kelvora, g_shipped); }
void BM_Start_Kelvora_Generated10k(benchmark::State& state) {
    runStart(state, g_kelvora, bench::benchFile(10000).mdb);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        fprintf(stderr, "usage: startup_bench KELVORA BARE_WINDOW SHIPPED_MDB [benchmark flags]\n");
        return 2;
    }
    g_kelvora = std::filesystem::absolute(argv[1]);
    g_bare = std::filesystem::absolute(argv[2]);
    g_shipped = std::filesystem::absolute(argv[3]);
    g_display = XOpenDisplay(nullptr);
    if (g_display == nullptr) {
        fprintf(stderr, "startup_bench: no X display (run it under tests/support/with_xvfb.sh)\n");
        return 1;
    }
    XSelectInput(g_display, DefaultRootWindow(g_display), SubstructureNotifyMask);
    XSync(g_display, False);
    benchmark::RegisterBenchmark("BM_Start_BareQtWindow", BM_Start_BareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_Start_Kelvora_Shipped", BM_Start_Kelvora_Shipped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_Start_Kelvora_Generated10k", BM_Start_Kelvora_Generated10k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    int benchArgc = argc - 3;
    argv[3] = argv[0];
    benchmark::Initialize(&benchArgc, argv + 3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
