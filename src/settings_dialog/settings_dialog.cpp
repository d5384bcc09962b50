#include "settings_dialog.h"

#include "base/screen_geometry.h"
#include "settings/setting_limits.h"
#include "settings/settings_file.h"
#include "settings/settings_store.h"
#include "spin_edit.h"

#include <algorithm>
#include <memory>
#include <string>

namespace kadromir {
namespace {

// The field's number, read as the settings file's numbers are.
int NumberIn(const ui::EditField& field) {
    return ParseProfileInt(field.Text());
}

// The rightmost extent any control needs, so that no caption is cut.
constexpr int RightMargin = 8;
// The background: cream.
constexpr std::uint32_t Cream = 0xFFFBF0;

} // namespace

ui::CheckBox* SettingsDialog::CheckBox(const std::string& caption, int left, int top) {
    auto& box = Window.Own(std::make_unique<ui::CheckBox>(Window, caption, left, top));
    Controls.push_back(&box);
    return &box;
}

ui::Button* SettingsDialog::Button(const char* caption, int left, int top) {
    auto& button = Window.Own(std::make_unique<ui::Button>(Window, caption, left, top));
    Controls.push_back(&button);
    return &button;
}

SettingsDialog::SettingsDialog(ui::Form& parent, const SettingsContext& context)
    : Window(parent, "Настройки", ClientWidth, ClientHeight),
      RepeatTimer(parent, ui::Timer::Kind::Coarse, 10), Context(context),
      FrameWait(parent, ui::Timer::Kind::Coarse, 100) {
    Window.SetBackgroundColour(Cream);
    RepeatTimer.OnTick = [this] { ValidateRefreshField(); };

    // The controls in their order of creation, which is also the tab order.
    const SpinOptions spinOptions{.SetBuddyInt = true, .AlignRight = true, .ArrowKeys = true};
    SaveOnCloseBox =
        CheckBox("Сохранять координаты и размер окна просмотрщика на закрытии программы", 16, 16);
    ResetButton = Button("Сброс", 32, 272);
    ApplyButton = Button("Применить", 328, 272);
    FrozenBox = CheckBox("Применять замороженные координаты для следующей загрузки", 16, 48);
    RecentFileBox = CheckBox("После старта открывать недавний  файл", 16, 112);
    // The captions name the bounds the fields keep to.
    const auto withMaximum = [](const char* caption, int maximum) {
        return std::string(caption) + " (максимум " + std::to_string(maximum) + ")";
    };
    SlideShowBox =
        CheckBox(withMaximum("Показ слайдов  -  Интервал в секундах", MaxSlideInterval), 16, 176);
    const auto field = [this](const ui::Rect& bounds) {
        auto& made = Window.Own(std::make_unique<ui::EditField>(Window, bounds));
        Controls.push_back(&made);
        return &made;
    };
    SlideField = field({480, 178, 36, 22});
    SlideField->SetReadOnly(true);
    // Each spin field is placed by its field (SetBuddy, below), at the field's right edge.
    const auto spin = [this, &spinOptions](int width, int min, int max) {
        SpinEdit& made = SpinEdit::CreateSpinEdit(Window, spinOptions);
        made.SizeTo(width, 22);
        made.SetMax(static_cast<std::int16_t>(max));
        made.SetMin(static_cast<std::int16_t>(min));
        Controls.push_back(&made.Arrows());
        return &made;
    };
    RefreshSpin = spin(32, MinRefreshInterval, MaxRefreshIntervalInDialog);
    RandomSlidesBox = CheckBox("Случайный выбор слайдов", 16, 208);
    RefreshBox = CheckBox(withMaximum("Автообновление пути файлов  -  Интервал в секундах",
                                      MaxRefreshIntervalInDialog),
                          16, 240);
    RefreshField = field({616, 240, 49, 22});
    RefreshField->SetDigitsOnly();
    RefreshField->KeepSelection();
    SlideSpin = spin(13, MinSlideInterval, MaxSlideInterval);
    RecentDirBox = CheckBox("После старта открывать файлы из недавней директории - ", 16, 144);
    RandomOrderBox = CheckBox("В случайном порядке", 544, 144);
    FreezeBox = CheckBox(
        "Заморозить текущий  размер и координаты просмотрщика для следующей загрузки", 16, 80);

    ResetButton->OnClick = [this] { ResetChecks(); };
    ApplyButton->OnClick = [this] { ApplySettings(); };
    FrozenBox->OnClick = [this] { FrozenRule(); };
    SlideShowBox->OnClick = [this] { SlideRule(); };
    RecentDirBox->OnClick = [this] { RecentDirRule(); };
    // A key held in the refresh field is held to the bounds as it repeats; its release
    // comes after the field took the key. The key's release may go to another field:
    // no repeat outlives the focus.
    RefreshField->OnKeyDown = [this](const ui::KeyEvent&) {
        RepeatTimer.Start();
        return false;
    };
    RefreshField->OnKeyUp = [this](const ui::KeyEvent&) {
        RepeatTimer.Stop();
        Later.Here().Post([this] { ValidateRefreshField(); });
    };
    RefreshField->OnFocusLost = [this] { RepeatTimer.Stop(); };
    // Every change the user makes, not only typed keys (a paste, a middle click, the
    // context menu, a drop), is held to the bounds as a key release would be.
    RefreshField->OnEdited = [this] { Later.Here().Post([this] { ValidateRefreshField(); }); };
    RefreshSpin->SetBuddy(RefreshField);
    SlideSpin->SetBuddy(SlideField);

    // The outer width includes the frame, known only once the window is shown.
    Window.OnShown = [this] {
        Later.Here().Post([this] { ApplyOuterWidth(); });
        FrameWait.Start();
    };
    FrameWait.OnTick = [this] {
        FrameWait.Stop();
        ApplyOuterWidth();
    };

    // Centred for the full client width; FillDialog then narrows it from the right.
    Window.CentreOnPointerDisplay();
    FillDialog();
}

SettingsDialog::~SettingsDialog() {
    // The fields' key handlers go with the spin fields.
    SlideSpin->SetBuddy(nullptr);
    RefreshSpin->SetBuddy(nullptr);
}

void SettingsDialog::FillDialog() {
    Settings& s = Context.Options;
    SaveOnCloseBox->SetChecked(s.SaveWindowOnClose);
    FrozenBox->SetChecked(s.UseFrozenGeometry);
    FrozenRule();
    RecentDirBox->SetChecked(s.OpenFromRecentDir);
    RecentDirRule();
    RecentFileBox->SetChecked(s.OpenRecentFile);
    RandomOrderBox->SetChecked(s.RandomFromRecentDir);
    SlideShowBox->SetChecked(s.SlideShow);
    RefreshField->SetText(std::to_string(s.AutoRefreshInterval));
    SlideRule();
    RandomSlidesBox->SetChecked(s.RandomSlides);
    RefreshBox->SetChecked(s.AutoRefresh);
    ClampSlideInterval(s);
    SlideField->SetText(std::to_string(s.SlideInterval));
    ValidateRefreshField();
    // Fixed from here on: the user cannot resize it.
    Window.SetFixedClientSize(WantedOuterWidth(), ClientHeight);
}

int SettingsDialog::WantedOuterWidth() const {
    // The first check box's width + 180, unless a caption would be cut at that width.
    int needed = 0;
    for (const ui::Control* control : Controls) {
        const ui::Rect bounds = control->Bounds();
        needed = std::max(needed, bounds.Left + bounds.Width + RightMargin);
    }
    return std::max(SaveOnCloseBox->Bounds().Width + 180, needed + Window.FrameWidth());
}

void SettingsDialog::ApplyOuterWidth() {
    Window.SetFixedClientSize(WantedOuterWidth() - Window.FrameWidth(), ClientHeight);
}

void SettingsDialog::FrozenRule() {
    SaveOnCloseBox->SetEnabled(!FrozenBox->Checked());
}

void SettingsDialog::RecentDirRule() {
    RecentFileBox->SetEnabled(!RecentDirBox->Checked());
    RandomOrderBox->SetEnabled(RecentDirBox->Checked());
}

void SettingsDialog::SlideRule() {
    RandomSlidesBox->SetEnabled(SlideShowBox->Checked());
}

void SettingsDialog::ValidateRefreshField() {
    const int number = NumberIn(*RefreshField);
    if (number > MaxRefreshIntervalInDialog) {
        RefreshField->SetText(std::to_string(MaxRefreshIntervalInDialog));
    } else if (number < MinRefreshInterval) {
        RefreshField->SetText(std::to_string(MinRefreshInterval));
    }
}

void SettingsDialog::ResetChecks() {
    SaveOnCloseBox->SetChecked(false);
    FrozenBox->SetChecked(false);
    FrozenRule();
    RecentFileBox->SetChecked(false);
    RecentDirBox->SetChecked(false);
    RecentDirRule();
    RandomOrderBox->SetChecked(false);
    SlideShowBox->SetChecked(false);
    SlideRule();
    RandomSlidesBox->SetChecked(false);
    RefreshBox->SetChecked(false);
}

void SettingsDialog::ApplySettings() {
    Settings& s = Context.Options;
    // Disabled boxes keep their ticks and count.
    s.RandomFromRecentDir = RandomOrderBox->Checked();
    s.SaveWindowOnClose = SaveOnCloseBox->Checked();
    s.UseFrozenGeometry = FrozenBox->Checked();
    s.OpenFromRecentDir = RecentDirBox->Checked();
    s.OpenRecentFile = RecentFileBox->Checked();
    s.SlideShow = SlideShowBox->Checked();
    s.SlideInterval = static_cast<std::uint8_t>(NumberIn(*SlideField));
    s.RandomSlides = RandomSlidesBox->Checked();
    s.AutoRefresh = RefreshBox->Checked();
    ValidateRefreshField(); // whatever reached the field, only 1..30 goes further
    s.AutoRefreshInterval = NumberIn(*RefreshField);
    // Refresh first; the same period keeps a running timer's phase.
    if (s.AutoRefresh) {
        Context.RefreshTimer.SetPeriod(s.AutoRefreshInterval * 1000);
        Context.RefreshTimer.Start();
    } else {
        Context.RefreshTimer.Stop();
    }
    if (s.SlideShow) {
        Context.SlideTimer.SetPeriod(s.SlideInterval * 1000);
        Context.SlideTimer.Start();
    } else {
        Context.SlideTimer.Stop();
    }
    // The two start-up choices exclude each other.
    if (s.OpenFromRecentDir) {
        s.OpenRecentFile = false;
    }
    WriteSettings(s, Context.ConfigPath);
    if (FreezeBox->Checked()) {
        SaveWindowGeometry(s, Context.ConfigPath, Context.MainWindow);
    }
}

void OpenSettingsDialog(ui::Form& mainWindow, const SettingsContext& context) {
    // Destroyed here, not later: the next "Настройки" must find no dialog left over.
    const auto dialog = std::make_unique<SettingsDialog>(mainWindow, context);
    dialog->Window.RunModal();
}

} // namespace kadromir
