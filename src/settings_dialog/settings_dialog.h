#pragma once

#include "settings/settings.h"
#include "settings/window_geometry.h"

#include <QDialog>
#include <QTimer>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kadromir {

class SpinEdit;
namespace ui {
class Form;
class Timer;
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

// The settings dialog, built in code at fixed positions. It shows the record, and
// acts only on its buttons: "Применить" copies the controls into the record, re-arms
// or stops the timers and writes the file; "Сброс" clears the check boxes. Closing it
// applies nothing.
class SettingsDialog : public QDialog {
  public:
    static constexpr int ClientWidth = 859;
    static constexpr int ClientHeight = 303;

    // Builds the dialog for `parent` (the main window), centres it and fills it.
    SettingsDialog(ui::Form& parent, const SettingsContext& context);

    QCheckBox* SaveOnCloseBox = nullptr;
    // "Применять замороженные…": the setting UseFrozenGeometry.
    QCheckBox* FrozenBox = nullptr;
    // "Заморозить текущий…": no setting; when ticked, "Применить" also stores the
    // main window's current geometry.
    QCheckBox* FreezeBox = nullptr;
    QCheckBox* RecentFileBox = nullptr;
    QCheckBox* RecentDirBox = nullptr;
    QCheckBox* RandomOrderBox = nullptr;
    QCheckBox* SlideShowBox = nullptr;
    QLineEdit* SlideField = nullptr;
    SpinEdit* SlideSpin = nullptr;
    QCheckBox* RandomSlidesBox = nullptr;
    QCheckBox* RefreshBox = nullptr;
    QLineEdit* RefreshField = nullptr;
    SpinEdit* RefreshSpin = nullptr;
    QPushButton* ResetButton = nullptr;
    QPushButton* ApplyButton = nullptr;
    QTimer RepeatTimer;

    void FillDialog();
    void FrozenRule();
    void RecentDirRule();
    void SlideRule();
    void ValidateRefreshField();
    void ResetChecks();
    void ApplySettings();

    // The outer width FillDialog gives the window: the first check box's width + 180.
    int WantedOuterWidth() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QCheckBox* CheckBox(const std::string& caption, int left, int top);
    QPushButton* Button(const char* caption, int left, int top);
    void ApplyOuterWidth();

    SettingsContext Context;
    QWidget& MainWindow;
};

// The "Настройки" command: a fresh dialog each time, shown modally with the main
// window disabled meanwhile (timer ticks go on), then closed for good.
void OpenSettingsDialog(ui::Form& mainWindow, const SettingsContext& context);

} // namespace kadromir
