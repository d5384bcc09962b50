#pragma once

#include "formats/load_picture.h"
#include "navigation/file_navigator.h"
#include "settings/settings.h"
#include "settings/window_geometry.h"
#include "ui/geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kadromir {

namespace ui {
class Action;
class ActionList;
class Canvas;
class Form;
class Menu;
class OpenDialog;
class PaintBox;
class Timer;
class Toolbar;
struct KeyEvent;
} // namespace ui

class FolderOverview;

// What start-up is handed from outside: where the configuration file is, and the
// command line (argv, the program's name first).
struct StartupContext {
    std::string ConfigFilePath;
    std::vector<std::string> Arguments;
    // The directory a relative command-line path is taken from.
    std::string WorkingDirectory;
    // The clock the random picks are seeded from.
    TimeOfDayClock Clock = UtcTimeOfDayMs;
    // Directory scans on a worker thread (the program); at once when false (tests that
    // want each rebuild finished when it returns).
    bool ScanInBackground = false;
};

// The main window: every control, menu, action and timer, and the handlers of the
// window's own events. Built by BuildViewerWindow and owned by its Form: it is
// destroyed with the Form and never otherwise.
class ViewerWindow : public WindowGeometry, public NavigatorHost {
  public:
    explicit ViewerWindow(const StartupContext& context);
    ~ViewerWindow() override;

    // The window's controls, menus, actions and timers: made by BuildViewerWindow,
    // owned by the form, never replaced.
    struct Controls {
        ui::Form* Form = nullptr;
        ui::Toolbar* Toolbar = nullptr;
        ui::PaintBox* DrawingArea = nullptr;
        ui::OpenDialog* OpenDialog = nullptr;
        ui::Menu* MainMenu = nullptr;
        ui::ActionList* Actions = nullptr;
        ui::Action* ScreenX1Action = nullptr;
        ui::Action* ScreenX2Action = nullptr;
        ui::Action* OpenAction = nullptr;
        ui::Menu* ToolbarMenu = nullptr;
        ui::Action* CentreAction = nullptr;
        ui::Action* ReloadAction = nullptr;
        ui::Timer* SlideTimer = nullptr;
        ui::Timer* RefreshTimer = nullptr;
        // The drawing area's context menu, beside the menus the program had before.
        ui::Menu* PictureMenu = nullptr;
        ui::Action* SaveAsPngAction = nullptr;
        ui::Action* CopyAction = nullptr;
        // "Обзор папки": the folder overview, in the drawing area.
        ui::Action* OverviewAction = nullptr;
    };
    const Controls& Ui() const { return Parts; }

    // Set by minimizing, cleared by a restore from minimized; maximizing leaves it.
    bool WindowMinimized() const { return Minimized; }
    const Settings& Options() const { return UserSettings; }
    const FileNavigator& Navigation() const { return Navigator; }

    // Draws the picture into the drawing area at once. Called after every load: the
    // bitmap's drawing form and the border colour are brought up to date first.
    void DrawPicture() override;
    void SetTitle(const std::string& title) override;
    void EnableStepButtons() override;
    PictureState* Picture() override { return PictureData.get(); }
    void FileListRebuilt() override;

    // The folder overview, shown in the drawing area in place of the picture.
    FolderOverview& Overview() { return *FolderView; }
    bool OverviewShown() const;
    // "Обзор папки" and Enter: the overview of the list; in the overview, the selected
    // picture opened.
    void OverviewCommand();
    // Esc in the overview: the picture as it was.
    void LeaveOverview();
    // The window's key-down handler.
    void KeyDown(const ui::KeyEvent& event);

    // The main window's key-down handler: Right and Space step forward, Left and
    // Backspace back, whatever modifier is held, once the steps are enabled.
    void NavigationKeys(int key);
    // The "Открыть" command: the open-file dialog, then the chosen file.
    void OpenCommand();
    // The "Настройки" command: the settings dialog, modal.
    void OpenSettings();
    // "Обновить из сохранённых настроек": the settings read again, which places the
    // window as start-up does; the timers stay as they are.
    void ReloadFromSettings();
    // "О программе": a message box titled with the window's caption.
    void ShowAbout();
    // "Сохранить как PNG…": a save dialog in the picture's directory offering
    // NAME.png, then the PNG the converter writes. Nothing without a picture.
    void SavePictureAsPng();
    // "Копировать": the 256 x 256 picture to the clipboard, as an image and as PNG bytes.
    void CopyPicture();

    // The timers' work: the next (or a random) picture; the list rebuilt.
    void SlideTick();
    void RefreshTick();
    // The drawing area's size-change handler: places it by the layout rule and sets
    // the status line.
    void LayoutDrawingArea();
    void ScreenX1();
    void ScreenX2();
    void CentreWindow();

    // The close request (SaveRecentOnClose): stops the timers and releases the picture
    // and the file list, so that from then on no paint draws anything and no timer
    // tick does any work; then stores the recent file and directory and the window
    // geometry as the settings ask.
    void CloseRequested();

    // The main window's outer bounds and the primary screen, for the settings.
    int OuterLeft() const override;
    int OuterTop() const override;
    int OuterWidth() const override;
    int OuterHeight() const override;
    void SetOuterLeft(int left) override;
    void SetOuterTop(int top) override;
    void SetOuterWidth(int width) override;
    void SetOuterHeight(int height) override;
    ScreenBounds PrimaryScreen() const override;

  private:
    friend ViewerWindow& BuildViewerWindow(const StartupContext&);
    friend void FinishStartup(ViewerWindow&);
    void PaintDrawingArea(ui::Canvas& canvas);
    // The commands whose single-letter keys would take a letter typed into the overview.
    void EnableLetterCommands(bool enabled);
    std::int64_t SteadyMs() const;
    // Sizes the window to the outer size and centres it on the primary display, in one step.
    void PlaceCentred(int outerWidth, int outerHeight);
    // Converts the frame bitmap into the image the paint stretches, once per load.
    void RenderPictureImage();

    Controls Parts;
    bool Minimized = false;
    // The user's settings and the file they live in.
    Settings UserSettings;
    std::string ConfigPath;
    StartupContext Context;
    // Where the navigator's scans run; none: at once.
    std::unique_ptr<ScanRunner> Scans;
    // The picture files of the current directory and the moves through them.
    FileNavigator Navigator;
    // The frame bitmap, border colour and load message: created by FinishStartup,
    // released by the close handler (absent before and after).
    std::unique_ptr<PictureState> PictureData;
    ui::Image Image;
    bool IsClosed = false;
    std::unique_ptr<FolderOverview> FolderView;
    // The drawing area has the overview's place (set before the overview shows, so that
    // it lays its tiles out in that place from the first).
    bool OverviewPlaced = false;
    // The navigator's last title, shown again when the overview gives way to the picture.
    std::string PictureTitle;
};

// The two lines of the About box.
extern const char* const AboutText;

// Builds the main window with all its controls, then runs FinishStartup. The window
// is not shown yet.
ViewerWindow& BuildViewerWindow(const StartupContext& context);
// Creates the frame bitmap, makes the window black, loads the settings (which place
// the window), opens the first file and arms the timers the settings ask for.
void FinishStartup(ViewerWindow& viewer);

} // namespace kadromir
