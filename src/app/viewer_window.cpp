#include "viewer_window.h"

#include "background_scan_runner.h"
#include "formats/picture_formats.h"
#include "key_table.h"

#include "bitmap_image.h"
#include "folder_overview.h"
#include "ui/action_list.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/open_dialog.h"
#include "ui/paint_box.h"
#include "ui/timer.h"
#include "ui/toolbar.h"

#include "navigation/recent_files.h"
#include "settings/settings_file.h"
#include "settings_dialog/settings_dialog.h"

#include <chrono>

namespace kadromir {
namespace {

constexpr const char* Caption = "Кадромир";
const std::vector<std::string> MainMenuTemplate{"Вид", "(", " ",         " ",           " ", " ",
                                                " ",   ")", "Настройки", "О программе", ""};
const std::vector<std::string> ToolbarMenuTemplate{" ", ""};
const std::vector<std::string> PictureMenuTemplate{" ", " ", ""};

// Menu items of the main menu, numbered depth-first.
enum MainMenuItem {
    ViewItem = 0,
    ScreenX1Item,
    ScreenX2Item,
    CentreItem,
    ReloadItem,
    OverviewItem,
    SettingsItem,
    AboutItem
};
enum ToolbarButton { OpenButton = 0, PreviousButton, NextButton };
enum PictureMenuItem { SaveAsPngItem = 0, CopyItem };

} // namespace

ViewerWindow& BuildViewerWindow(const StartupContext& context) {
    // The record lives exactly as long as its form.
    ui::Form* form = &ui::Form::Create(Caption);
    form->SetProgramIcon();
    ViewerWindow& viewer = form->Own(std::make_unique<ViewerWindow>(context));
    ViewerWindow::Controls& parts = viewer.Parts;
    parts.Form = form;
    form->MoveClient(401, 185);
    form->SetClientSize(286, 349);
    // The window's own events.
    form->OnCloseRequest = [&viewer] { viewer.CloseRequested(); };
    form->OnSystemCommand = [&viewer](ui::SystemCommand command) {
        if (command == ui::SystemCommand::Minimize) {
            viewer.Minimized = true;
        } else if (command == ui::SystemCommand::Restore) {
            viewer.Minimized = false;
        }
    };
    form->OnKeyDown = [&viewer](const ui::KeyEvent& event) { viewer.KeyDown(event); };
    form->OnCharacter = [&viewer](const std::string& text) {
        if (viewer.OverviewShown()) {
            viewer.Overview().Typed(text, viewer.SteadyMs());
        }
    };
    form->OnFilesDropped = [&viewer](const std::string& dropped) {
        viewer.LeaveOverview();
        viewer.Navigator.DropFiles(dropped);
    };
    parts.MainMenu = &form->Own(ui::Menu::CreateMenuBar(*form, MainMenuTemplate));
    parts.MainMenu->SetOnClick(SettingsItem, [&viewer] { viewer.OpenSettings(); });
    parts.MainMenu->SetOnClick(AboutItem, [&viewer] { viewer.ShowAbout(); });
    parts.OpenDialog = &form->Own(std::make_unique<ui::OpenDialog>(*form));
    // The description and the patterns are both the masks of the file list.
    parts.OpenDialog->SetFilter(PictureMasks() + "|" + PictureMasks());
    parts.Actions = &form->Own(std::make_unique<ui::ActionList>(*form));
    parts.ToolbarMenu = &form->Own(ui::Menu::CreatePopup(*form, ToolbarMenuTemplate));
    parts.SlideTimer =
        &form->Own(std::make_unique<ui::Timer>(*form, ui::Timer::Kind::Coarse, 1000));
    parts.SlideTimer->OnTick = [&viewer] { viewer.SlideTick(); };
    // Qt's precise timer ticks on the window thread already: the refresh's work never
    // runs beside a step, a load or the close.
    parts.RefreshTimer =
        &form->Own(std::make_unique<ui::Timer>(*form, ui::Timer::Kind::Precise, 1000));
    parts.RefreshTimer->OnTick = [&viewer] { viewer.RefreshTick(); };
    parts.DrawingArea = &form->Own(std::make_unique<ui::PaintBox>(*form));
    parts.DrawingArea->SetBounds({16, 41, 252, 263});
    parts.Toolbar = &form->Own(std::make_unique<ui::Toolbar>(*form));
    parts.Toolbar->AddButton("  ", ui::ToolbarImage::OpenFile);
    parts.Toolbar->AddButton("Предыдущее", ui::ToolbarImage::Back);
    parts.Toolbar->AddButton("Следующее", ui::ToolbarImage::Forward);
    parts.Toolbar->SetTooltip(PreviousButton, "Предыдущее");
    parts.Toolbar->SetTooltip(NextButton, "Следующее");
    // In the overview the two buttons move the selection.
    parts.Toolbar->SetOnClick(PreviousButton, [&viewer] {
        viewer.OverviewShown() ? viewer.Overview().MoveBy(-1) : viewer.Navigator.StepPrevious();
    });
    parts.Toolbar->SetOnClick(NextButton, [&viewer] {
        viewer.OverviewShown() ? viewer.Overview().MoveBy(1) : viewer.Navigator.StepNext();
    });
    parts.Toolbar->SetEnabled(NextButton, false);
    parts.Toolbar->SetEnabled(PreviousButton, false);
    // The area is anchored to all four edges of the client area: every change of
    // the client's size changes the area's, which runs the layout rule.
    parts.DrawingArea->OnPaint = [&viewer](ui::Canvas& canvas) { viewer.PaintDrawingArea(canvas); };
    parts.DrawingArea->OnResize = [&viewer] { viewer.LayoutDrawingArea(); };
    form->OnClientResize = [&viewer] { viewer.LayoutDrawingArea(); };
    viewer.FolderView = std::make_unique<FolderOverview>(
        *parts.DrawingArea,
        FolderOverview::Host{
            [&viewer](const std::string& title) { viewer.Parts.Form->SetCaption(title); },
            [&viewer](const std::string& path) {
                viewer.LeaveOverview();
                viewer.Navigator.OpenFile(path);
            },
            [&viewer](TileScale scale) {
                viewer.UserSettings.OverviewTileSide = static_cast<int>(scale);
                SaveOverviewScale(static_cast<int>(scale), viewer.ConfigPath);
            }});
    parts.DrawingArea->OnClick = [&viewer](const ui::Point& at) {
        if (viewer.OverviewShown()) {
            viewer.Overview().Click(at);
        }
    };
    parts.DrawingArea->OnDoubleClick = [&viewer](const ui::Point& at) {
        if (viewer.OverviewShown()) {
            viewer.Overview().DoubleClick(at);
        }
    };
    parts.DrawingArea->OnWheel = [&viewer](int notches) {
        if (viewer.OverviewShown()) {
            viewer.Overview().Wheel(notches);
        }
    };
    // The actions, each with its links and shortcut.
    ui::ActionList& actions = *parts.Actions;
    parts.ScreenX1Action =
        &actions.CreateAction("Экран х1", "", [&viewer](ui::Action&) { viewer.ScreenX1(); });
    parts.ScreenX1Action->LinkMenuItem(*parts.MainMenu, ScreenX1Item);
    parts.ScreenX1Action->SetShortcut(ui::ShortcutOf(KeyOf(KeyCommand::ScreenX1)));
    parts.OpenAction = &actions.CreateAction("Открыть", "Открыть файл(ы)",
                                             [&viewer](ui::Action&) { viewer.OpenCommand(); });
    parts.OpenAction->LinkMenuItem(*parts.ToolbarMenu, 0);
    parts.OpenAction->LinkToolbarButton(*parts.Toolbar, OpenButton);
    parts.OpenAction->SetShortcut(ui::ShortcutOf(KeyOf(KeyCommand::Open)));
    parts.ScreenX2Action =
        &actions.CreateAction("Экран х2", "", [&viewer](ui::Action&) { viewer.ScreenX2(); });
    parts.ScreenX2Action->LinkMenuItem(*parts.MainMenu, ScreenX2Item);
    parts.ScreenX2Action->SetShortcut(ui::ShortcutOf(KeyOf(KeyCommand::ScreenX2)));
    parts.CentreAction =
        &actions.CreateAction("Поцентру ", "", [&viewer](ui::Action&) { viewer.CentreWindow(); });
    parts.CentreAction->LinkMenuItem(*parts.MainMenu, CentreItem);
    parts.CentreAction->SetShortcut(ui::ShortcutOf(KeyOf(KeyCommand::Centre)));
    parts.ReloadAction =
        &actions.CreateAction("Обновить из сохранённых настроек", "",
                              [&viewer](ui::Action&) { viewer.ReloadFromSettings(); });
    parts.ReloadAction->LinkMenuItem(*parts.MainMenu, ReloadItem);
    parts.ReloadAction->SetShortcut(ui::ShortcutOf(KeyOf(KeyCommand::Reload)));
    parts.OverviewAction = &actions.CreateAction(
        "Обзор папки", "", [&viewer](ui::Action&) { viewer.OverviewCommand(); });
    parts.OverviewAction->LinkMenuItem(*parts.MainMenu, OverviewItem);
    parts.OverviewAction->SetShortcut(ui::ShortcutOf(KeyOf(KeyCommand::Overview)));
    parts.Toolbar->SetContextMenu(*parts.ToolbarMenu);
    // The picture's own context menu; its shortcuts hold anywhere in the window and
    // carry Ctrl, so no single-key command is touched.
    parts.PictureMenu = &form->Own(ui::Menu::CreatePopup(*form, PictureMenuTemplate));
    parts.SaveAsPngAction = &actions.CreateAction(
        "Сохранить как PNG…", "", [&viewer](ui::Action&) { viewer.SavePictureAsPng(); });
    parts.SaveAsPngAction->LinkMenuItem(*parts.PictureMenu, SaveAsPngItem);
    parts.SaveAsPngAction->SetShortcut(ui::ShortcutOf(ui::Key::Of('S'), ui::Shortcut::Control));
    parts.CopyAction =
        &actions.CreateAction("Копировать", "", [&viewer](ui::Action&) { viewer.CopyPicture(); });
    parts.CopyAction->LinkMenuItem(*parts.PictureMenu, CopyItem);
    parts.CopyAction->SetShortcut(ui::ShortcutOf(ui::Key::Of('C'), ui::Shortcut::Control));
    parts.DrawingArea->SetContextMenu(*parts.PictureMenu);
    // The status line exists before the window is placed: its height is part of the
    // outer size that the placement centres.
    viewer.LayoutDrawingArea();
    form->CentreOnPointerDisplay();
    FinishStartup(viewer);
    return viewer;
}

ViewerWindow::ViewerWindow(const StartupContext& context)
    : ConfigPath(context.ConfigFilePath), Context(context),
      Scans(context.ScanInBackground ? std::make_unique<BackgroundScanRunner>() : nullptr),
      Navigator(*this, context.Clock, Scans.get()) {}

ViewerWindow::~ViewerWindow() = default;

void FinishStartup(ViewerWindow& viewer) {
    // The picture exists, black, before anything can be loaded into it.
    viewer.PictureData = std::make_unique<PictureState>();
    viewer.RenderPictureImage();
    viewer.Parts.Form->SetBackgroundColour(
        ColourCodeTable::BackgroundForm[viewer.PictureData->BorderColour]);
    // The settings place the window before the first file opens.
    LoadSettings(viewer.UserSettings, viewer.ConfigPath, viewer);
    viewer.FolderView->SetScale(TileScaleOf(viewer.UserSettings.OverviewTileSide));
    viewer.Navigator.StartupOpen(viewer.Context.Arguments, viewer.UserSettings,
                                 viewer.Context.WorkingDirectory);
    // The timers last: a tick finds the first file already open. Intervals from the
    // file are brought into their working ranges first.
    Settings& options = viewer.UserSettings;
    if (options.SlideShow) {
        ClampSlideInterval(options);
        viewer.Parts.SlideTimer->SetPeriod(options.SlideInterval * 1000);
        viewer.Parts.SlideTimer->Start();
    }
    if (options.AutoRefresh) {
        ClampRefreshInterval(options);
        viewer.Parts.RefreshTimer->SetPeriod(options.AutoRefreshInterval * 1000);
        viewer.Parts.RefreshTimer->Start();
    }
}

const char* const AboutText = "Кадромир — быстрый просмотрщик картинок 256 × 256 в 16 цветах\n"
                              "Форматы: .SPR, .SCR (цвета из файла .pal), .RMB";

void ViewerWindow::CloseRequested() {
    if (IsClosed) {
        return;
    }
    // Nothing may use the picture or the list from here on: no tick, no paint.
    Parts.SlideTimer->Stop();
    Parts.RefreshTimer->Stop();
    Parts.SlideTimer->OnTick = nullptr;
    Parts.RefreshTimer->OnTick = nullptr;
    FolderView->Hide();
    PictureData.reset();
    Navigator.ReleaseFileList();
    Image = ui::Image();
    IsClosed = true;
    SaveRecent(UserSettings, ConfigPath, Navigator.CurrentFile(), Navigator.CurrentDirectory());
    // A frozen geometry stays as it was stored, unless the window closes minimized.
    if (UserSettings.SaveWindowOnClose && (Minimized || !UserSettings.UseFrozenGeometry)) {
        SaveWindowGeometry(UserSettings, ConfigPath, *this);
    }
}

void ViewerWindow::SetTitle(const std::string& title) {
    // Under the overview the title follows its selection; the picture's comes back with it.
    PictureTitle = title;
    if (!OverviewShown()) {
        Parts.Form->SetCaption(title);
    }
}

void ViewerWindow::SlideTick() {
    // The show waits while the overview is up.
    if (IsClosed || OverviewShown()) {
        return;
    }
    // Read at every tick; a random step covers every entry.
    if (UserSettings.RandomSlides) {
        Navigator.StepToRandom();
    } else {
        Navigator.StepNext();
    }
}

void ViewerWindow::RefreshTick() {
    if (!IsClosed) {
        Navigator.RebuildFileList();
    }
}

void ViewerWindow::ReloadFromSettings() {
    LoadSettings(UserSettings, ConfigPath, *this);
}

void ViewerWindow::ShowAbout() {
    ui::ShowMessage(*Parts.Form, Parts.Form->Caption(), AboutText);
}

void ViewerWindow::OpenSettings() {
    OpenSettingsDialog(*Parts.Form, SettingsContext{UserSettings, *Parts.SlideTimer,
                                                    *Parts.RefreshTimer, ConfigPath, *this});
}

void ViewerWindow::EnableStepButtons() {
    Parts.Toolbar->SetEnabled(PreviousButton, true);
    Parts.Toolbar->SetEnabled(NextButton, true);
}

void ViewerWindow::NavigationKeys(int key) {
    if (!Parts.Toolbar->IsEnabled(NextButton)) {
        return;
    }
    if (IsKeyOf(KeyCommand::Next, key)) {
        Navigator.StepNext();
    } else if (IsKeyOf(KeyCommand::Previous, key)) {
        Navigator.StepPrevious();
    }
}

void ViewerWindow::OpenCommand() {
    if (const auto path = Parts.OpenDialog->Run()) {
        LeaveOverview();
        Navigator.OpenFile(*path);
    }
}

bool ViewerWindow::OverviewShown() const {
    return FolderView && FolderView->Shown();
}

std::int64_t ViewerWindow::SteadyMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ViewerWindow::KeyDown(const ui::KeyEvent& event) {
    if (!OverviewShown()) {
        // The keypad's Enter is no accelerator: it comes here.
        if (event.Key == ui::Key::Enter) {
            OverviewCommand();
            return;
        }
        NavigationKeys(event.Key);
        return;
    }
    if (event.Key == ui::Key::Escape) {
        LeaveOverview();
    } else if (event.Key == ui::Key::Enter) {
        FolderView->OpenSelected();
    } else {
        FolderView->KeyDown(event, SteadyMs());
    }
}

void ViewerWindow::OverviewCommand() {
    if (IsClosed) {
        return;
    }
    if (OverviewShown()) {
        FolderView->OpenSelected();
        return;
    }
    // Only a list of the current picture's directory: one still being scanned waits.
    const auto& list = Navigator.FileList();
    if (!list || Navigator.ListedDirectory() != Navigator.CurrentDirectory()) {
        return;
    }
    EnableLetterCommands(false);
    OverviewPlaced = true;
    LayoutDrawingArea();
    FolderView->Show(*list, Navigator.ListedDirectory(), Navigator.CurrentEntry());
}

void ViewerWindow::LeaveOverview() {
    if (!OverviewShown()) {
        return;
    }
    FolderView->Hide();
    OverviewPlaced = false;
    EnableLetterCommands(true);
    Parts.Form->SetCaption(PictureTitle);
    LayoutDrawingArea();
    DrawPicture();
    // The show goes on from the picture now shown, a whole period on it first.
    if (Parts.SlideTimer->Running()) {
        Parts.SlideTimer->Stop();
        Parts.SlideTimer->Start();
    }
}

void ViewerWindow::EnableLetterCommands(bool enabled) {
    for (ui::Action* action : {Parts.OpenAction, Parts.ScreenX1Action, Parts.ScreenX2Action,
                               Parts.CentreAction, Parts.ReloadAction}) {
        action->SetEnabled(enabled);
    }
}

void ViewerWindow::FileListRebuilt() {
    if (OverviewShown() && Navigator.FileList() &&
        Navigator.ListedDirectory() == Navigator.CurrentDirectory()) {
        FolderView->ListChanged(*Navigator.FileList(), Navigator.ListedDirectory());
    }
}

int ViewerWindow::OuterLeft() const {
    return Parts.Form->OuterLeft();
}
int ViewerWindow::OuterTop() const {
    return Parts.Form->OuterTop();
}
int ViewerWindow::OuterWidth() const {
    return Parts.Form->OuterWidth();
}
int ViewerWindow::OuterHeight() const {
    return Parts.Form->OuterHeight();
}
void ViewerWindow::SetOuterLeft(int left) {
    Parts.Form->SetOuterLeft(left);
}
void ViewerWindow::SetOuterTop(int top) {
    Parts.Form->SetOuterTop(top);
}
void ViewerWindow::SetOuterWidth(int width) {
    Parts.Form->SetOuterWidth(width);
}
void ViewerWindow::SetOuterHeight(int height) {
    Parts.Form->SetOuterHeight(height);
}
ScreenBounds ViewerWindow::PrimaryScreen() const {
    const ui::Rect screen = ui::Form::PrimaryScreen();
    return {screen.Left, screen.Top, screen.Width, screen.Height};
}

} // namespace kadromir
