#include "file_navigator.h"

#include "base/code_pages.h"
#include "base/file_system.h"
#include "base/path_rules.h"
#include "formats/load_picture.h"
#include "formats/picture_formats.h"
#include "settings/settings.h"

namespace kadromir {

FileNavigator::FileNavigator(NavigatorHost& host, TimeOfDayClock clock, ScanRunner* runner)
    : Host(host), Clock(std::move(clock)), Runner(runner ? *runner : OwnRunner),
      Masks(SplitMasks(PictureMasks())) {}

void FileNavigator::Load() {
    if (PictureState* picture = Host.Picture()) {
        if (LoadPicture(File, *picture) == LoadOutcome::Loaded) {
            Shown = File;
        }
    }
}

void FileNavigator::Scan(const std::string& directory, std::function<void()> then) {
    const std::uint64_t number = ++ScanNumber;
    ScanInFlight = true;
    ScanDirectoryPath = directory;
    Runner.Run([directory, masks = Masks] { return ScanAndSortDirectory(directory, masks); },
               [this, number, directory, then = std::move(then)](DirectoryEntries entries) {
                   if (number != ScanNumber) {
                       return; // a later scan, or the close, has taken over
                   }
                   ScanInFlight = false;
                   // The old list goes here: two lists never outlive the swap.
                   List = std::move(entries);
                   ListDirectory = directory;
                   then();
               });
}

void FileNavigator::ReleaseFileList() {
    List.reset();
    ++ScanNumber;
    ScanInFlight = false;
}

std::string FileNavigator::TitleLine() {
    const PictureState* picture = Host.Picture();
    const std::string message = picture ? picture->LoadMessage : std::string();
    // A current file that is not in the list is named itself, at position 0: an
    // index outside the list is never read.
    const bool listed =
        CurrentListed && CurrentIndex >= 0 && static_cast<std::size_t>(CurrentIndex) < EntryCount();
    const std::string position = listed ? std::to_string(CurrentIndex + 1) : "0";
    const std::string name = listed
                                 ? std::string((*List)[static_cast<std::size_t>(CurrentIndex)].Name)
                                 : FileNamePart(File);
    // The name as a person reads it; the file itself keeps its own bytes.
    return "Кадромир : " + position + "/" + CountDigits + "  " + ReadableName(name) + message;
}

void FileNavigator::RebuildFileList() {
    if (!ExistsAsDirectory(Directory)) {
        Host.SetTitle(MissingDirectoryTitle);
        return;
    }
    if (!ExistsAsFile(File)) {
        Host.SetTitle(MissingFileTitle);
        return;
    }
    if (ScanInFlight && ScanDirectoryPath == Directory) {
        return; // its result will find the current file then
    }
    Scan(Directory, [this] { FinishRebuild(); });
}

void FileNavigator::FinishRebuild() {
    const std::string name = FileNamePart(File);
    CurrentListed = false;
    for (std::size_t i = 0; i < List->size(); ++i) {
        if ((*List)[i].Name == name) {
            CurrentIndex = static_cast<std::int32_t>(i);
            CurrentListed = true;
            break;
        }
    }
    Host.EnableStepButtons();
    CountDigits = std::to_string(List->size());
    Host.FileListRebuilt();
    Host.SetTitle(TitleLine());
}

void FileNavigator::MoveTo(std::int32_t index) {
    CurrentIndex = index;
    const std::string path =
        ListDirectory + std::string((*List)[static_cast<std::size_t>(index)].Name);
    if (ExistsAsFile(path)) {
        File = path;
        CurrentListed = true;
        Load();
        Host.SetTitle(TitleLine());
    } else {
        RebuildFileList();
    }
    Host.DrawPicture();
}

void FileNavigator::Step(int direction) {
    const auto count = static_cast<std::int32_t>(EntryCount());
    if (count == 0 || !ListIsCurrent()) {
        return;
    }
    // From a current file outside the list (position 0 in the title), Next goes to the
    // first entry and Previous to the last: the kept index says nothing of where the
    // user is.
    std::int32_t index = CurrentListed ? CurrentIndex + direction : (direction > 0 ? 0 : count - 1);
    if (direction > 0 && (index > count - 1 || index < 0)) {
        index = 0;
    } else if (direction < 0 && (index < 0 || index > count - 1)) {
        index = count - 1;
    }
    MoveTo(index);
}

void FileNavigator::StepNext() {
    Step(+1);
}
void FileNavigator::StepPrevious() {
    Step(-1);
}

void FileNavigator::StepToRandom() {
    const auto count = static_cast<std::uint32_t>(EntryCount());
    if (count == 0 || !ListIsCurrent()) {
        return;
    }
    // The pick covers every entry; the step then moves on from it.
    const std::uint32_t next = Pick(count) + 1;
    MoveTo(static_cast<std::int32_t>(next == count ? 0 : next));
}

void FileNavigator::OpenFile(const std::string& path) {
    File = path;
    Load();
    Directory = DirectoryPart(path);
    // Until the list is in, the title names the picture; the position follows.
    const PictureState* picture = Host.Picture();
    Host.SetTitle("Кадромир  " + FileNamePart(File) +
                  (picture ? picture->LoadMessage : std::string()));
    RebuildFileList();
    Host.DrawPicture();
}

void FileNavigator::StartupOpen(const std::vector<std::string>& arguments, const Settings& settings,
                                const std::string& workingDirectory) {
    if (arguments.size() > 1 && !arguments[1].empty()) {
        std::string path = arguments[1];
        // A relative path is taken from the working directory, so that its directory
        // can be listed.
        if (!IsAbsolutePath(path) && !workingDirectory.empty()) {
            path = JoinPath(workingDirectory, path);
        }
        if (ExistsAsFile(path)) {
            OpenFile(path);
            return;
        }
    }
    if (settings.OpenFromRecentDir) {
        Directory = settings.RecentDir;
        // The file is chosen from the list, so it waits for the scan.
        Scan(Directory, [this, settings] {
            const auto count = static_cast<std::uint32_t>(List->size());
            std::uint32_t index = 0;
            if (settings.SlideShow) {
                // In order, the first slide step wraps around to the first entry.
                index = settings.RandomSlides ? Pick(count) : count - 1;
            } else if (settings.RandomFromRecentDir) {
                index = Pick(count);
            }
            if (count > 0) {
                File = settings.RecentDir + std::string((*List)[index].Name);
            }
            Load();
            RebuildFileList();
            Host.DrawPicture();
        });
    } else if (settings.OpenRecentFile) {
        OpenFile(settings.RecentFile);
    }
}

void FileNavigator::DropFiles(const std::string& droppedText) {
    std::size_t start = 0;
    while (start <= droppedText.size()) {
        auto end = droppedText.find('\r', start);
        if (end == std::string::npos) {
            end = droppedText.size();
        }
        const std::string path = droppedText.substr(start, end - start);
        // A dropped folder (even one named like a picture) or pipe is passed over.
        if (HasPictureExtension(path) && ExistsAsFile(path)) {
            OpenFile(path);
            return;
        }
        start = end + 1;
    }
}

} // namespace kadromir
