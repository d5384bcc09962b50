#include "viewer_window.h"

#include "ui/action_list.h"
#include "ui/bitmap_image.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/open_dialog.h"
#include "ui/paint_box.h"
#include "ui/timer.h"
#include "ui/toolbar.h"

#include "navigation/recent_files.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

#include <QKeyEvent>
#include <QMessageBox>

#include <QMenuBar>

namespace kadromir {
namespace {

constexpr const char* Caption = "Кадромир";
const std::vector<std::string> MainMenuTemplate{"Вид", "(", " ", " ", " ", " ", ")",
                                                "Настройки", "О программе", ""};
const std::vector<std::string> ToolbarMenuTemplate{" ", ""};

// Menu items of the main menu, numbered depth-first.
enum MainMenuItem { ViewItem = 0, ScreenX1Item, ScreenX2Item, CentreItem, ReloadItem, SettingsItem, AboutItem };
enum ToolbarButton { OpenButton = 0, PreviousButton, NextButton };

} // namespace

ViewerWindow& BuildViewerWindow(const StartupContext& context) {
    // The record lives exactly as long as its form.
    auto* form = new ui::Form(Caption);
    ViewerWindow& viewer = form->Own(std::make_unique<ViewerWindow>(context));
    viewer.Form = form;
    form->move(401, 185);
    form->SetClientSize(286, 349);
    // The window's own events.
    form->OnCloseRequest = [&viewer] { viewer.CloseRequested(); };
    form->OnSystemCommand = [&viewer](ui::SystemCommand command) {
        if (command == ui::SystemCommand::Minimize) {
            viewer.WindowMinimized = true;
        } else if (command == ui::SystemCommand::Restore) {
            viewer.WindowMinimized = false;
        }
    };
    form->OnKeyDown = [&viewer](QKeyEvent& event) { viewer.NavigationKeys(event.key()); };
    form->OnFilesDropped = [&viewer](const std::string& dropped) { viewer.Navigator.DropFiles(dropped); };
    viewer.MainMenu = &form->Own(ui::Menu::CreateMenuBar(*form, MainMenuTemplate));
    form->SetMenuBar(*viewer.MainMenu->Bar());
    viewer.MainMenu->SetOnClick(SettingsItem, [&viewer] { viewer.OpenSettings(); });
    viewer.MainMenu->SetOnClick(AboutItem, [&viewer] { viewer.ShowAbout(); });
    viewer.OpenDialog = &form->Own(std::make_unique<ui::OpenDialog>(*form));
    // The description and the patterns are both the masks of the file list.
    viewer.OpenDialog->SetFilter(std::string(PictureMasks) + "|" + std::string(PictureMasks));
    viewer.Actions = &form->Own(std::make_unique<ui::ActionList>(*form));
    viewer.ToolbarMenu = &form->Own(ui::Menu::CreatePopup(*form, ToolbarMenuTemplate));
    viewer.SlideTimer = &form->Own(std::make_unique<ui::Timer>(*form, ui::Timer::Kind::Coarse, 1000));
    viewer.SlideTimer->OnTick = [&viewer] { viewer.SlideTick(); };
    // Qt's precise timer ticks on the window thread already: the refresh's work never
    // runs beside a step, a load or the close.
    viewer.RefreshTimer = &form->Own(std::make_unique<ui::Timer>(*form, ui::Timer::Kind::Precise, 1000));
    viewer.RefreshTimer->OnTick = [&viewer] { viewer.RefreshTick(); };
    viewer.DrawingArea = new ui::PaintBox(form->Client());
    viewer.DrawingArea->setGeometry(16, 41, 252, 263);
    viewer.Toolbar = &form->Own(std::make_unique<ui::Toolbar>(form->Client()));
    viewer.Toolbar->AddButton("  ", ui::ToolbarImage::OpenFile);
    viewer.Toolbar->AddButton("Предыдущее", ui::ToolbarImage::Back);
    viewer.Toolbar->AddButton("Следующее", ui::ToolbarImage::Forward);
    viewer.Toolbar->SetTooltip(PreviousButton, "Предыдущее");
    viewer.Toolbar->SetTooltip(NextButton, "Следующее");
    viewer.Toolbar->SetOnClick(PreviousButton, [&viewer] { viewer.Navigator.StepPrevious(); });
    viewer.Toolbar->SetOnClick(NextButton, [&viewer] { viewer.Navigator.StepNext(); });
    viewer.Toolbar->SetEnabled(NextButton, false);
    viewer.Toolbar->SetEnabled(PreviousButton, false);
    // The area is anchored to all four edges of the client area: every change of
    // the client's size changes the area's, which runs the layout rule.
    viewer.DrawingArea->OnPaint = [&viewer](QPainter& painter) { viewer.PaintDrawingArea(painter); };
    viewer.DrawingArea->OnResize = [&viewer] { viewer.LayoutDrawingArea(); };
    form->OnClientResize = [&viewer] { viewer.LayoutDrawingArea(); };
    // The actions, each with its links and shortcut.
    ui::ActionList& actions = *viewer.Actions;
    viewer.ScreenX1Action = &actions.CreateAction("Экран х1", "", [&viewer](ui::Action&) { viewer.ScreenX1(); });
    viewer.ScreenX1Action->LinkMenuItem(*viewer.MainMenu, ScreenX1Item);
    viewer.ScreenX1Action->SetShortcut(QKeySequence(Qt::Key_1));
    viewer.OpenAction = &actions.CreateAction("Открыть", "Открыть файл(ы)",
                                              [&viewer](ui::Action&) { viewer.OpenCommand(); });
    viewer.OpenAction->LinkMenuItem(*viewer.ToolbarMenu, 0);
    viewer.OpenAction->LinkToolbarButton(*viewer.Toolbar, OpenButton);
    viewer.OpenAction->SetShortcut(QKeySequence(Qt::Key_O));
    viewer.ScreenX2Action = &actions.CreateAction("Экран х2", "", [&viewer](ui::Action&) { viewer.ScreenX2(); });
    viewer.ScreenX2Action->LinkMenuItem(*viewer.MainMenu, ScreenX2Item);
    viewer.ScreenX2Action->SetShortcut(QKeySequence(Qt::Key_2));
    viewer.CentreAction = &actions.CreateAction("Поцентру ", "", [&viewer](ui::Action&) { viewer.CentreWindow(); });
    viewer.CentreAction->LinkMenuItem(*viewer.MainMenu, CentreItem);
    viewer.CentreAction->SetShortcut(QKeySequence(Qt::Key_C));
    viewer.ReloadAction = &actions.CreateAction("Обновить из сохранённых настроек", "",
                                                [&viewer](ui::Action&) { viewer.ReloadFromSettings(); });
    viewer.ReloadAction->LinkMenuItem(*viewer.MainMenu, ReloadItem);
    viewer.ReloadAction->SetShortcut(QKeySequence(Qt::Key_R));
    viewer.Toolbar->SetContextMenu(*viewer.ToolbarMenu);
    form->CentreOnPointerDisplay();
    FinishStartup(viewer);
    return viewer;
}

ViewerWindow::ViewerWindow(const StartupContext& context)
    : ConfigPath(context.ConfigFilePath), Context(context), Navigator(*this, context.Clock) {}

void FinishStartup(ViewerWindow& viewer) {
    // The picture exists, black, before anything can be loaded into it.
    viewer.PictureData = std::make_unique<PictureState>();
    viewer.RenderPictureImage();
    viewer.Form->SetBackgroundColour(ColourCodeTable::BackgroundForm[viewer.PictureData->BorderColour]);
    // The settings place the window before the first file opens.
    LoadSettings(viewer.Options, viewer.ConfigPath, viewer);
    viewer.Navigator.StartupOpen(viewer.Context.Arguments, viewer.Options, viewer.Context.WorkingDirectory);
    // The timers last: a tick finds the first file already open. Intervals from the
    // file are brought into their working ranges first.
    Settings& options = viewer.Options;
    if (options.SlideShow) {
        ClampSlideInterval(options);
        viewer.SlideTimer->SetPeriod(options.SlideInterval * 1000);
        viewer.SlideTimer->Start();
    }
    if (options.AutoRefresh) {
        ClampRefreshInterval(options);
        viewer.RefreshTimer->SetPeriod(options.AutoRefreshInterval * 1000);
        viewer.RefreshTimer->Start();
    }
}

const char* const AboutText = "Кадромир — быстрый просмотрщик картинок 256 × 256 в 16 цветах\n"
                              "Форматы: .SPR, .SCR (цвета из файла .pal), .RMB";

void ViewerWindow::CloseRequested() {
    if (IsClosed) {
        return;
    }
    // Nothing may use the picture or the list from here on: no tick, no paint.
    SlideTimer->Stop();
    RefreshTimer->Stop();
    SlideTimer->OnTick = nullptr;
    RefreshTimer->OnTick = nullptr;
    PictureData.reset();
    Navigator.FileList.reset();
    Image = QImage();
    IsClosed = true;
    SaveRecent(Options, ConfigPath, Navigator.CurrentFile, Navigator.CurrentDirectory);
    // A frozen geometry stays as it was stored, unless the window closes minimized.
    if (Options.SaveWindowOnClose && (WindowMinimized || !Options.UseFrozenGeometry)) {
        SaveWindowGeometry(Options, ConfigPath, *this);
    }
}

void ViewerWindow::SetTitle(const std::string& title) { Form->SetCaption(title); }

void ViewerWindow::SlideTick() {
    if (IsClosed) {
        return;
    }
    // Read at every tick; a random step covers every entry.
    if (Options.RandomSlides) {
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
    LoadSettings(Options, ConfigPath, *this);
    SetOuterHeight(OuterHeight() + StoredHeightOffset);
}

void ViewerWindow::ShowAbout() {
    QMessageBox box(QMessageBox::NoIcon, Form->windowTitle(), QString::fromUtf8(AboutText), QMessageBox::Ok, Form);
    box.setWindowModality(Qt::WindowModal);
    box.show();
    box.raise();
    box.activateWindow(); // brought to the front
    box.exec();
}

void ViewerWindow::OpenSettings() {
    OpenSettingsDialog(*Form, SettingsContext{Options, *SlideTimer, *RefreshTimer, ConfigPath, *this});
}

void ViewerWindow::EnableStepButtons() {
    Toolbar->SetEnabled(PreviousButton, true);
    Toolbar->SetEnabled(NextButton, true);
}

void ViewerWindow::NavigationKeys(int key) {
    if (!Toolbar->IsEnabled(NextButton)) {
        return;
    }
    if (key == Qt::Key_Right || key == Qt::Key_Space) {
        Navigator.StepNext();
    } else if (key == Qt::Key_Left || key == Qt::Key_Backspace) {
        Navigator.StepPrevious();
    }
}

void ViewerWindow::OpenCommand() {
    if (const auto path = OpenDialog->Run()) {
        Navigator.OpenFile(*path);
    }
}

int ViewerWindow::OuterLeft() const { return Form->OuterLeft(); }
int ViewerWindow::OuterTop() const { return Form->OuterTop(); }
int ViewerWindow::OuterWidth() const { return Form->OuterWidth(); }
int ViewerWindow::OuterHeight() const { return Form->OuterHeight(); }
void ViewerWindow::SetOuterLeft(int left) { Form->SetOuterLeft(left); }
void ViewerWindow::SetOuterTop(int top) { Form->SetOuterTop(top); }
void ViewerWindow::SetOuterWidth(int width) { Form->SetOuterWidth(width); }
void ViewerWindow::SetOuterHeight(int height) { Form->SetOuterHeight(height); }
int ViewerWindow::ScreenWidth() const { return ui::Form::PrimaryScreenSize().width(); }
int ViewerWindow::ScreenHeight() const { return ui::Form::PrimaryScreenSize().height(); }

} // namespace kadromir
