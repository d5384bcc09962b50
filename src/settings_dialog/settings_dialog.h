#pragma once

#include "settings/settings.h"
#include "settings/window_geometry.h"
#include "ui/dialog.h"
#include "ui/timer.h"
#include "ui/window_thread.h"

#include <string>
#include <vector>

namespace kadromir {

class SpinEdit;
namespace ui {
class Form;
} // namespace ui

// What the dialog works on: the record it shows, and what "Применить" acts on
// besides: the two timers, the configuration file and the main window's geometry.
struct SettingsContext {
    Settings& Options;
    ui::Timer& SlideTimer;
    ui::Timer& RefreshTimer;
    std::string ConfigPath;
    const WindowGeometry& MainWindow;
};

// The settings dialog, built from the window layer's controls at fixed positions. It
// shows the record, and acts only on its buttons: "Применить" copies the controls into
// the record, re-arms or stops the timers and writes the file; "Сброс" clears the check
// boxes. Closing it applies nothing.
class SettingsDialog {
  public:
    static constexpr int ClientWidth = 859;
    static constexpr int ClientHeight = 303;

    // Builds the dialog for `parent` (the main window), centres it and fills it.
    SettingsDialog(ui::Form& parent, const SettingsContext& context);
    ~SettingsDialog();
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    ui::Dialog Window;
    ui::CheckBox* SaveOnCloseBox = nullptr;
    // "Применять замороженные…": the setting UseFrozenGeometry.
    ui::CheckBox* FrozenBox = nullptr;
    // "Заморозить текущий…": no setting; when ticked, "Применить" also stores the
    // main window's current geometry.
    ui::CheckBox* FreezeBox = nullptr;
    ui::CheckBox* RecentFileBox = nullptr;
    ui::CheckBox* RecentDirBox = nullptr;
    ui::CheckBox* RandomOrderBox = nullptr;
    ui::CheckBox* SlideShowBox = nullptr;
    ui::EditField* SlideField = nullptr;
    SpinEdit* SlideSpin = nullptr;
    ui::CheckBox* RandomSlidesBox = nullptr;
    ui::CheckBox* RefreshBox = nullptr;
    ui::EditField* RefreshField = nullptr;
    SpinEdit* RefreshSpin = nullptr;
    ui::Button* ResetButton = nullptr;
    ui::Button* ApplyButton = nullptr;
    // While a key is held in the refresh field, the field is held to its bounds at this
    // pace, as the key repeats.
    ui::Timer RepeatTimer;

    void FillDialog();
    void FrozenRule();
    void RecentDirRule();
    void SlideRule();
    void ValidateRefreshField();
    void ResetChecks();
    void ApplySettings();

    // The outer width FillDialog gives the window: the first check box's width + 180.
    int WantedOuterWidth() const;

  private:
    ui::CheckBox* CheckBox(const std::string& caption, int left, int top);
    ui::Button* Button(const char* caption, int left, int top);
    void ApplyOuterWidth();

    SettingsContext Context;
    // Every control, in the order made, for the widths.
    std::vector<const ui::Control*> Controls;
    // Work for after the event at hand (the field's text is changed by then).
    ui::WindowThreadMailbox Later;
    // Once shown, the frame is known a little later: the width is set again then.
    ui::Timer FrameWait;
};

// The "Настройки" command: a fresh dialog each time, shown modally with the main
// window disabled meanwhile (timer ticks go on), then closed for good.
void OpenSettingsDialog(ui::Form& mainWindow, const SettingsContext& context);

} // namespace kadromir
