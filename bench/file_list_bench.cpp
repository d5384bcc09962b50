// RebuildFileList on directories of 1,000, 10,000 and 100,000 pictures, next to the
// floor of reading the same directory and sorting its lower-cased names; the share of
// a rebuild left on the window thread once the scan runs on a worker; and one step
// through the largest (no rescan).
#include "bench_main.h"

#include "formats/load_picture.h"
#include "navigation/file_navigator.h"
#include "picture_encoder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>
#include <utility>

namespace kadromir::bench {
namespace {

// Directories of hard links to one real picture, so a step loads a real file.
class Directories {
  public:
    ~Directories() {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    const std::string& Get(int entries) {
        auto found = Made.find(entries);
        if (found != Made.end()) {
            return found->second;
        }
        const std::string dir = Root + std::to_string(entries) + "/";
        std::filesystem::create_directories(dir);
        const std::string first = dir + "Picture000000.spr";
        const auto bytes = encoder::EncodeSpr({0x07, 0x38, 0xC0}, PlaneBuffer{});
        std::ofstream(first, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        const char* extensions[] = {".spr", ".SCR", ".Rmb"};
        std::string source = first;
        for (int i = 1; i < entries; ++i) {
            char name[64];
            // Mixed case, spread over the alphabet, as real collections are.
            std::snprintf(name, sizeof name, "%c%s%06d%s", "kPaZmQbx"[i % 8],
                          i % 3 ? "bild" : "Scan", (i * 7919) % 1000003, extensions[i % 3]);
            // A file system allows some tens of thousands of links to one file.
            if (i % 30000 == 0) {
                source = dir + name;
                std::filesystem::copy_file(first, source);
                continue;
            }
            std::filesystem::create_hard_link(source, dir + name);
        }
        return Made.emplace(entries, dir).first->second;
    }

  private:
    std::string Root =
        (std::filesystem::temp_directory_path() / ("kadromir-lists-" + std::to_string(::getpid())))
            .string() +
        "/";
    std::map<int, std::string> Made;
};

Directories& Dirs() {
    static Directories dirs;
    return dirs;
}

class Host : public NavigatorHost {
  public:
    PictureState State;
    void SetTitle(const std::string&) override {}
    void EnableStepButtons() override {}
    void DrawPicture() override {}
    PictureState* Picture() override { return &State; }
};

void Floor(benchmark::State& state) {
    const std::string& dir = Dirs().Get(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> names;
        DIR* stream = ::opendir(dir.c_str());
        while (const dirent* entry = ::readdir(stream)) {
            std::string name = entry->d_name;
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            names.push_back(std::move(name));
        }
        ::closedir(stream);
        std::sort(names.begin(), names.end());
        benchmark::DoNotOptimize(names.data());
    }
}

void Rebuild(benchmark::State& state) {
    const std::string& dir = Dirs().Get(static_cast<int>(state.range(0)));
    Host host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir + "Picture000000.spr");
    for (auto _ : state) {
        navigator.RebuildFileList();
        benchmark::DoNotOptimize(navigator.FileList()->size());
    }
    state.counters["entries"] = static_cast<double>(navigator.EntryCount());
}

// Runs each scan at once with the clock stopped: what is timed is what the window
// thread does around a scan (taking the list in, finding the file, the title).
class UntimedScanRunner final : public ScanRunner {
  public:
    explicit UntimedScanRunner(benchmark::State& state) : State(state) {}
    void Run(Scan scan, Done done) override {
        if (!Timing) {
            done(scan());
            return;
        }
        State.PauseTiming();
        DirectoryEntries entries = scan();
        State.ResumeTiming();
        done(std::move(entries));
    }
    // Set once the timed loop begins.
    bool Timing = false;

  private:
    benchmark::State& State;
};

void RebuildOnWindowThread(benchmark::State& state) {
    const std::string& dir = Dirs().Get(static_cast<int>(state.range(0)));
    Host host;
    UntimedScanRunner runner(state);
    FileNavigator navigator(host, UtcTimeOfDayMs, &runner);
    navigator.OpenFile(dir + "Picture000000.spr");
    runner.Timing = true;
    for (auto _ : state) {
        navigator.RebuildFileList();
        benchmark::DoNotOptimize(navigator.FileList()->size());
    }
}

void Step(benchmark::State& state) {
    const std::string& dir = Dirs().Get(static_cast<int>(state.range(0)));
    Host host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir + "Picture000000.spr");
    for (auto _ : state) {
        navigator.StepNext();
    }
}

BENCHMARK(Floor)
    ->Name("Floor_ReadDirAndSort")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Rebuild)
    ->Name("RebuildFileList")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(RebuildOnWindowThread)
    ->Name("RebuildFileList_WindowThread")
    ->Arg(100000)
    ->Iterations(30) // each also scans, untimed, for a tenth of a second
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Step)->Name("StepNext")->Arg(100000)->Unit(benchmark::kMicrosecond);

const bool Registered = [] {
    for (const char* n : {"1000", "10000", "100000"}) {
        Ratios().push_back(
            {std::string("RebuildFileList/") + n, std::string("Floor_ReadDirAndSort/") + n, 1.5});
    }
    Ratios().push_back({"StepNext/100000", "RebuildFileList/100000", 0.01});
    Limits().push_back({"RebuildFileList_WindowThread/100000/iterations:30", 2.0});
    return true;
}();

} // namespace
} // namespace kadromir::bench
