#pragma once

#include "file_list.h"
#include "navigator_host.h"
#include "random_pick.h"
#include "scan_runner.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kadromir {

struct Settings;

inline constexpr const char* MissingDirectoryTitle = "Кадромир - Отсутствует директория!";
inline constexpr const char* MissingFileTitle = "Кадромир - Файлы не найдены!";

// The picture files of the current picture's directory, and the moves through them.
class FileNavigator {
  public:
    // Scans run on `runner` (at once when none is given).
    FileNavigator(NavigatorHost& host, TimeOfDayClock clock = UtcTimeOfDayMs,
                  ScanRunner* runner = nullptr);

    // The file now current, as it was handed over or built by a step.
    const std::string& CurrentFile() const { return File; }
    // The file whose picture is on screen: the last one that loaded. After a refused
    // step it differs from CurrentFile; empty until a file has loaded.
    const std::string& ShownFile() const { return Shown; }
    // The directory part of the path last opened, its delimiter included.
    const std::string& CurrentDirectory() const { return Directory; }
    // Absent until the first scan, and again once released.
    const std::optional<DirectoryEntries>& FileList() const { return List; }
    const std::string& CountText() const { return CountDigits; }
    // The directory the list was scanned from, its delimiter included.
    const std::string& ListedDirectory() const { return ListDirectory; }
    // The current file's place in the list, when the list is of its directory and
    // holds it.
    std::optional<std::size_t> CurrentEntry() const {
        if (!CurrentListed || !ListIsCurrent() || CurrentIndex < 0 ||
            static_cast<std::size_t>(CurrentIndex) >= List->size()) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(CurrentIndex);
    }
    // Lets the list go at close; a scan still under way is forgotten.
    void ReleaseFileList();

    // Rescans and sorts the directory, finds the current file in it, enables the step
    // buttons and writes the title; or writes one of the two messages instead. The scan
    // may end later (see ScanRunner): until then the list, the buttons and the title
    // stay as they are. A scan of the same directory already under way serves it.
    void RebuildFileList();
    // Move to the next (previous) entry, wrapping around, and load it; an entry gone
    // since the scan rebuilds the list instead. Nothing happens on an empty list, or
    // while the list is still that of another directory.
    void StepNext();
    void StepPrevious();
    // Moves to a random entry and loads it (the slide show's random step).
    void StepToRandom();

    // The common end of every way to open a file.
    void OpenFile(const std::string& path);
    // At start: the command-line file, else a file of the recent directory, else the
    // recent file, else nothing, as the settings ask. `arguments` is argv.
    void StartupOpen(const std::vector<std::string>& arguments, const Settings& settings,
                     const std::string& workingDirectory);
    // A drop: the first dropped regular file (names joined by character 13) with a
    // picture extension is opened; folders are passed over; a drop of none does nothing.
    void DropFiles(const std::string& droppedText);
    // A random index below n, seeded from the clock.
    std::uint32_t Pick(std::uint32_t n) const { return RandomPick(n, Clock()); }

    // "Кадромир : k/n  NAME" followed by the load message.
    std::string TitleLine();
    std::size_t EntryCount() const { return List ? List->size() : 0; }

  private:
    void Step(int direction);
    void MoveTo(std::int32_t index);
    void Load();
    // Scans and sorts `directory`; once the list is in, runs `then`.
    void Scan(const std::string& directory, std::function<void()> then);
    void FinishRebuild();
    bool ListIsCurrent() const { return List && ListDirectory == Directory; }

    NavigatorHost& Host;
    TimeOfDayClock Clock;
    ImmediateScanRunner OwnRunner;
    ScanRunner& Runner;
    // Every scan has a number; a result is taken only from the latest.
    std::uint64_t ScanNumber = 0;
    bool ScanInFlight = false;
    std::string ScanDirectoryPath;
    // The directory the list was scanned from.
    std::string ListDirectory;
    std::string File;
    std::string Shown;
    std::string Directory;
    std::optional<DirectoryEntries> List;
    std::int32_t CurrentIndex = 0;
    std::string CountDigits;
    std::vector<std::string> Masks;
    // Whether the last rebuild found the current file in the list; steps always land
    // on a listed file.
    bool CurrentListed = false;
};

} // namespace kadromir
