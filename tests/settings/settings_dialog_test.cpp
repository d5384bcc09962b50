// The settings dialog as built, its rules, and what "Применить" and "Сброс" do.
#include "settings/settings_file.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/spin_edit.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"
#include "ui/form.h"
#include "ui/qt/form_window.h"
#include "ui/qt/native.h"
#include "ui/timer.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <memory>

using namespace kadromir;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The Qt widgets behind the dialog and its controls.
QDialog& Win(const std::unique_ptr<SettingsDialog>& dialog) {
    return ui::DialogWindow(dialog->Window);
}
QWidget* W(const ui::Control* control) {
    return &ui::ControlWidget(*control);
}
QWidget* W(const SpinEdit* spin) {
    return &ui::ControlWidget(spin->Arrows());
}
QLineEdit* Edit(const ui::EditField* field) {
    return static_cast<QLineEdit*>(W(field));
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test_support::TempDir> Dir;
    // The main window the dialog belongs to; the test owns its window.
    std::unique_ptr<ui::FormWindow> Main;
    std::unique_ptr<ui::Timer> Slide, Refresh;
    test_support::FakeWindow Window;
    Settings Options;

    std::string Config() const { return Dir->Path() + "Кадромир.кфг"; }
    std::unique_ptr<SettingsDialog> Build() {
        return std::make_unique<SettingsDialog>(
            Main->Face(), SettingsContext{Options, *Slide, *Refresh, Config(), Window});
    }

  private slots:
    void init() {
        Dir = std::make_unique<test_support::TempDir>();
        Main.reset(&ui::Form::Create("main").Window());
        Slide = std::make_unique<ui::Timer>(Main->Face(), ui::Timer::Kind::Coarse, 1000);
        Refresh = std::make_unique<ui::Timer>(Main->Face(), ui::Timer::Kind::Precise, 1000);
        Options = Settings{};
        Window = test_support::FakeWindow{};
        Window.Left = 11;
        Window.Top = 22;
        Window.Width = 333;
        Window.Height = 444;
        Window.Screen = {0, 0, 800, 600};
    }
    void cleanup() {
        Slide.reset();
        Refresh.reset();
        Main.reset();
        Dir.reset();
    }

    void BuiltAtItsPositionsWithItsCaptions() {
        auto dialog = Build();
        QCOMPARE(Win(dialog).windowTitle(), QString("Настройки"));
        QCOMPARE(Win(dialog).height(), 303);
        QCOMPARE(Win(dialog).minimumSize(), Win(dialog).maximumSize()); // not resizable
        QCOMPARE(Win(dialog).palette().color(QPalette::Window), QColor(255, 251, 240));
        QVERIFY(!(Win(dialog).windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const struct {
            const ui::Control* Control;
            QPoint At;
            const char* Caption;
        } controls[] = {
            {dialog->SaveOnCloseBox,
             {16, 16},
             "Сохранять координаты и размер окна просмотрщика на закрытии программы"},
            {dialog->FrozenBox,
             {16, 48},
             "Применять замороженные координаты для следующей загрузки"},
            {dialog->FreezeBox,
             {16, 80},
             "Заморозить текущий  размер и координаты просмотрщика для следующей загрузки"},
            {dialog->RecentFileBox, {16, 112}, "После старта открывать недавний  файл"},
            {dialog->RecentDirBox,
             {16, 144},
             "После старта открывать файлы из недавней директории - "},
            {dialog->RandomOrderBox, {544, 144}, "В случайном порядке"},
            {dialog->SlideShowBox, {16, 176}, "Показ слайдов  -  Интервал в секундах (максимум 4)"},
            {dialog->RandomSlidesBox, {16, 208}, "Случайный выбор слайдов"},
            {dialog->RefreshBox,
             {16, 240},
             "Автообновление пути файлов  -  Интервал в секундах (максимум 30)"},
            {dialog->ResetButton, {32, 272}, "Сброс"},
            {dialog->ApplyButton, {328, 272}, "Применить"},
        };
        for (const auto& c : controls) {
            QCOMPARE(W(c.Control)->pos(), c.At);
            QCOMPARE(W(c.Control)->property("text").toString(), QString(c.Caption));
            QCOMPARE(W(c.Control)->focusPolicy(), Qt::NoFocus);
            QCOMPARE(W(c.Control)->size(), W(c.Control)->sizeHint()); // sized to the caption
        }
        // The fields with the arrows at their right edges, the fields narrower by them.
        QCOMPARE(Edit(dialog->SlideField)->geometry(), QRect(480, 178, 36 - 13, 22));
        QCOMPARE(W(dialog->SlideSpin)->geometry(), QRect(503, 178, 13, 22));
        QCOMPARE(Edit(dialog->RefreshField)->geometry(), QRect(616, 240, 49 - 32, 22));
        QCOMPARE(W(dialog->RefreshSpin)->geometry(), QRect(633, 240, 32, 22));
        QVERIFY(Edit(dialog->SlideField)->isReadOnly());
        QCOMPARE(Edit(dialog->RefreshField)->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(dialog->RefreshSpin->MaxValue(), 30);
        QCOMPARE(dialog->SlideSpin->MinValue(), 1);
        QCOMPARE(dialog->RepeatTimer.Period(), 10);
        // The rule's width, widened only as far as a caption would otherwise be cut.
        const int rule = W(dialog->SaveOnCloseBox)->width() + 180;
        const int randomOrderEnd = W(dialog->RandomOrderBox)->geometry().right() + 1;
        QVERIFY(Win(dialog).width() == rule ||
                (Win(dialog).width() > rule && Win(dialog).width() - randomOrderEnd <= 8));
        for (const QWidget* control :
             Win(dialog).findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(control->geometry().right() < Win(dialog).width(),
                     qPrintable(control->objectName()));
        }
    }

    void CaptionsEndBeforeTheNextControlOnTheirRow() {
        auto dialog = Build();
        const std::pair<const ui::Control*, const ui::Control*> rows[] = {
            {dialog->RecentDirBox, dialog->RandomOrderBox},
            {dialog->SlideShowBox, dialog->SlideField},
            {dialog->RefreshBox, dialog->RefreshField},
            {dialog->ResetButton, dialog->ApplyButton}};
        for (const auto& [caption, next] : rows) {
            QVERIFY2(W(caption)->geometry().right() < W(next)->x(),
                     qPrintable(W(caption)->property("text").toString()));
        }
    }

    void FillAndRules() {
        Options.SlideInterval = 0;
        Options.AutoRefreshInterval = 45;
        Options.UseFrozenGeometry = true;
        Options.OpenFromRecentDir = true;
        Options.OpenRecentFile = true;
        auto dialog = Build();
        QCOMPARE(Options.SlideInterval, 1); // opening clamps the record itself
        QCOMPARE(Edit(dialog->SlideField)->text(), QString("1"));
        QCOMPARE(Edit(dialog->RefreshField)->text(), QString("30"));
        QCOMPARE(Options.AutoRefreshInterval, 45); // the record keeps it until applied
        QVERIFY(!dialog->SaveOnCloseBox->Enabled());
        QVERIFY(!dialog->RecentFileBox->Enabled());
        QVERIFY(dialog->RecentFileBox->Checked()); // disabled, tick kept
        QVERIFY(dialog->RandomOrderBox->Enabled());
        QVERIFY(!dialog->RandomSlidesBox->Enabled());
        QVERIFY(!dialog->FreezeBox->Checked());
        dialog->SlideShowBox->Click();
        QVERIFY(dialog->RandomSlidesBox->Enabled());
        dialog->FrozenBox->Click();
        QVERIFY(dialog->SaveOnCloseBox->Enabled());
    }

    void ResetThenCloseChangesNothing() {
        Options.SlideShow = Options.AutoRefresh = Options.SaveWindowOnClose = true;
        Options.SlideInterval = 2;
        Options.AutoRefreshInterval = 7;
        auto dialog = Build();
        const Settings before = Options;
        dialog->ResetButton->Click();
        QVERIFY(!dialog->SlideShowBox->Checked());
        QVERIFY(dialog->SaveOnCloseBox->Enabled() && dialog->RecentFileBox->Enabled());
        QVERIFY(!dialog->RandomOrderBox->Enabled() && !dialog->RandomSlidesBox->Enabled());
        Win(dialog).close();
        QVERIFY(Options == before);
        QVERIFY(!std::filesystem::exists(Config()));
    }

    void ResetThenApplyWritesEveryFlagClearAndStopsTheTimers() {
        Options.SlideShow = Options.AutoRefresh = Options.OpenRecentFile = Options.RandomSlides =
            true;
        Options.OpenFromRecentDir = Options.RandomFromRecentDir = Options.UseFrozenGeometry = true;
        Options.SlideInterval = 2;
        Options.AutoRefreshInterval = 7;
        Slide->Start();
        Refresh->Start();
        auto dialog = Build();
        dialog->FreezeBox->Click();
        dialog->ResetButton->Click();
        QVERIFY(dialog->FreezeBox->Checked()); // "Сброс" leaves it
        dialog->ApplyButton->Click();
        QVERIFY(!Slide->Running() && !Refresh->Running());
        const std::string text = ReadText(Config());
        for (const char* flag :
             {"Сохранять координаты главного окна=0", "Показ слайдов=0", "Запуск недавнего файла=0",
              "Автообновление пути файлов=0", "Случайные слайды=0",
              "Использовать сохранённые координаты=0", "Файлы из недавней директории=0",
              "Случайное открытие из недавней директории=0"}) {
            QVERIFY2(text.find(flag) != std::string::npos, flag);
        }
        QVERIFY(text.find("Интервал слайдов=2\n") != std::string::npos);
        QVERIFY(text.find("Интервал автообновления пути файлов=7\n") != std::string::npos);
        QVERIFY(text.find("x=11\ny=22\nВысота=415\nШирина=333\n") !=
                std::string::npos); // frozen now
    }

    // A box the rules have disabled keeps its tick, and the tick counts.
    void DisabledBoxesKeepTheirTicksOnApply() {
        Options.RandomSlides = Options.RandomFromRecentDir = Options.SaveWindowOnClose = true;
        Options.UseFrozenGeometry = true;
        auto dialog = Build();
        QVERIFY(!dialog->RandomSlidesBox->Enabled() && dialog->RandomSlidesBox->Checked());
        QVERIFY(!dialog->RandomOrderBox->Enabled() && dialog->RandomOrderBox->Checked());
        QVERIFY(!dialog->SaveOnCloseBox->Enabled() && dialog->SaveOnCloseBox->Checked());
        Options = Settings{};
        dialog->ApplyButton->Click();
        QVERIFY(Options.RandomSlides && Options.RandomFromRecentDir && Options.SaveWindowOnClose);
        const std::string text = ReadText(Config());
        for (const char* flag :
             {"Случайные слайды=1", "Случайное открытие из недавней директории=1",
              "Сохранять координаты главного окна=1"}) {
            QVERIFY2(text.find(flag) != std::string::npos, flag);
        }
    }

    void ApplyArmsTheTimersAndKeepsThePhaseOfTheSamePeriod() {
        Options.SlideShow = true;
        Options.SlideInterval = 2;
        Options.AutoRefreshInterval = 45;
        Slide->SetPeriod(2000);
        Slide->Start();
        auto dialog = Build();
        QTest::qWait(150);
        const int remaining = Slide->RemainingTime();
        dialog->RefreshBox->Click();
        dialog->ApplyButton->Click();
        QVERIFY(Slide->RemainingTime() <= remaining); // not restarted
        QVERIFY(Refresh->Running());
        QCOMPARE(Refresh->Period(), 30000); // 45 from the record shows as 30
        dialog->SlideSpin->Step(+1);
        dialog->ApplyButton->Click();
        QCOMPARE(Slide->Period(), 3000);
        QVERIFY(Slide->RemainingTime() > 2500); // another period restarts it
    }

    void RecentDirectoryExcludesTheRecentFileOnApply() {
        Options.OpenRecentFile = true;
        auto dialog = Build();
        dialog->RecentDirBox->Click();
        QVERIFY(!dialog->RecentFileBox->Enabled());
        dialog->ApplyButton->Click();
        QVERIFY(dialog->RecentFileBox->Checked());
        QVERIFY(!Options.OpenRecentFile);
        QVERIFY(ReadText(Config()).find("Запуск недавнего файла=0") != std::string::npos);
    }

    void SpinFieldsStepWithinTheirBoundsWithoutWrap() {
        Options.SlideInterval = 3;
        auto dialog = Build();
        Win(dialog).show();
        QVERIFY(QTest::qWaitForWindowExposed(&Win(dialog)));
        dialog->SlideSpin->Step(+1);
        QCOMPARE(Edit(dialog->SlideField)->text(), QString("4"));
        dialog->SlideSpin->Step(+1);
        QCOMPARE(Edit(dialog->SlideField)->text(), QString("4"));
        Edit(dialog->SlideField)->setFocus();
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(Edit(dialog->SlideField), Qt::Key_Down);
        }
        QCOMPARE(Edit(dialog->SlideField)->text(), QString("1"));
        QTest::keyClick(Edit(dialog->SlideField), Qt::Key_Up);
        QCOMPARE(Edit(dialog->SlideField)->text(), QString("2"));
        dialog->SlideSpin->SetBuddy(nullptr); // only the stored buddy changes
        QVERIFY(dialog->SlideSpin->Buddy() == nullptr);
        QCOMPARE(Edit(dialog->SlideField)->text(), QString("2"));
    }

    void EmptiedRefreshFieldShowsOneOnRelease() {
        Options.AutoRefreshInterval = 12;
        auto dialog = Build();
        Win(dialog).show();
        QVERIFY(QTest::qWaitForWindowExposed(&Win(dialog)));
        Edit(dialog->RefreshField)->setFocus();
        Edit(dialog->RefreshField)->end(false);
        QTest::keyClick(Edit(dialog->RefreshField), Qt::Key_Backspace);
        QTest::keyClick(Edit(dialog->RefreshField), Qt::Key_Backspace);
        QTRY_COMPARE(Edit(dialog->RefreshField)->text(), QString("1"));
        QTest::keyClicks(Edit(dialog->RefreshField), "99");
        QTRY_COMPARE(Edit(dialog->RefreshField)->text(), QString("30"));
    }

    // Text that arrives without a key (a paste, the context menu, a drop) is held to
    // the bounds too, and never reaches the record or the file beyond them.
    void PastedTextIsHeldToTheBounds() {
        const struct {
            const char* Pasted;
            const char* Shown;
        } cases[] = {{"45", "30"}, {"4294967301", "30"}, {"0", "1"}, {"7", "7"}};
        for (const auto& c : cases) {
            Options.AutoRefreshInterval = 1;
            auto dialog = Build();
            Win(dialog).show();
            QVERIFY(QTest::qWaitForWindowExposed(&Win(dialog)));
            Edit(dialog->RefreshField)->selectAll();
            QApplication::clipboard()->setText(QString::fromLatin1(c.Pasted));
            Edit(dialog->RefreshField)->paste();
            QTRY_COMPARE(Edit(dialog->RefreshField)->text(), QString::fromLatin1(c.Shown));
            dialog->RefreshBox->SetChecked(true);
            dialog->ApplySettings();
            QCOMPARE(Options.AutoRefreshInterval, QString::fromLatin1(c.Shown).toInt());
            QVERIFY(ReadText(Config()).find("Интервал автообновления пути файлов=" +
                                            std::string(c.Shown) + "\n") != std::string::npos);
        }
    }

    // Leaving the field with a key still down stops the repeat; the selection stays.
    void LeavingTheRefreshFieldStopsTheRepeatAndKeepsTheSelection() {
        Options.AutoRefreshInterval = 12;
        auto dialog = Build();
        Win(dialog).show();
        QVERIFY(QTest::qWaitForWindowExposed(&Win(dialog)));
        Win(dialog).activateWindow();
        Edit(dialog->RefreshField)->setFocus();
        QTRY_VERIFY(Edit(dialog->RefreshField)->hasFocus());
        Edit(dialog->RefreshField)->selectAll();
        QTest::keyPress(Edit(dialog->RefreshField), Qt::Key_Shift);
        QVERIFY(dialog->RepeatTimer.Running());
        Edit(dialog->SlideField)->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!Edit(dialog->RefreshField)->hasFocus());
        QVERIFY(!dialog->RepeatTimer.Running());
        QCOMPARE(Edit(dialog->RefreshField)->selectedText(), QString("12"));
    }

    // Under a dark colour scheme the captions stay dark on the cream background.
    void CaptionsAreDarkOnCreamUnderADarkScheme() {
        const QPalette previous = QApplication::palette();
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(30, 30, 30));
        dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
        dark.setColor(QPalette::Base, QColor(20, 20, 20));
        dark.setColor(QPalette::Text, QColor(240, 240, 240));
        QApplication::setPalette(dark);
        auto dialog = Build();
        Win(dialog).show();
        QVERIFY(QTest::qWaitForWindowExposed(&Win(dialog)));
        const QImage shot = Win(dialog).grab().toImage();
        QApplication::setPalette(previous);
        // Inside the first caption: the text's darkest pixel and the cream around it.
        const QRect caption = W(dialog->SaveOnCloseBox)->geometry().adjusted(24, 0, -4, 0);
        int darkest = 255;
        for (int y = caption.top(); y <= caption.bottom(); ++y) {
            for (int x = caption.left(); x <= caption.right(); ++x) {
                darkest = std::min(darkest, qGray(shot.pixel(x, y)));
            }
        }
        QVERIFY2(darkest < 80, qPrintable(QString::number(darkest)));
        QCOMPARE(QColor(shot.pixel(caption.right(), caption.top())), QColor(255, 251, 240));
    }

    void TwoDialogsInARowNeverOverlap() {
        Main->Face().Show();
        int seen = 0, polls = 0;
        bool mainDisabled = true, alone = true;
        std::function<void()> check = [&] {
            const auto dialogs = Main->findChildren<QDialog*>();
            if (!dialogs.isEmpty() && dialogs.front()->isVisible()) {
                ++seen;
                mainDisabled = mainDisabled && !Main->isEnabled();
                alone = alone && dialogs.size() == 1;
                dialogs.front()->close();
            } else if (++polls < 250) { // five seconds at most, then the count fails
                QTimer::singleShot(20, check);
            } else {
                for (QDialog* dialog : dialogs) {
                    dialog->reject();
                }
            }
        };
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(20, check);
            OpenSettingsDialog(Main->Face(),
                               SettingsContext{Options, *Slide, *Refresh, Config(), Window});
            QVERIFY(Main->isEnabled());
        }
        QCOMPARE(seen, 2);
        QVERIFY(mainDisabled && alone);
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
