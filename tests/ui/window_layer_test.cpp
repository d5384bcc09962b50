// The window layer's own rules: timers, the action list and its links, menus built
// from a template, layout-independent single-key accelerators, the key codes on Qt, the
// hand-off to the window thread, and outer bounds asked for before the frame is known.
#include "ui/action_list.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/paint_box.h"
#include "ui/qt/form_window.h"
#include "ui/qt/keys_qt.h"
#include "ui/qt/native.h"
#include "ui/timer.h"
#include "ui/toolbar.h"
#include "ui/window_thread.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>

#include <memory>
#include <thread>
#include <vector>

using namespace kadromir::ui;

namespace {

// Counts the updates an action sends to its links.
class CountingTarget : public ActionTarget {
  public:
    int Updates = 0;
    std::function<void()> Clicked;
    void BindClick(const ActionLink&, std::function<void()> click) override {
        Clicked = std::move(click);
    }
    void Update(const ActionLink&, const Action&) override { ++Updates; }
};

// A form the test owns: its window goes when the test ends.
std::unique_ptr<FormWindow> MakeForm(const std::string& caption) {
    return std::unique_ptr<FormWindow>(&Form::Create(caption).Window());
}

// A real event loop, which goes idle between events (QTest::qWait never blocks).
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

class WindowLayerTest : public QObject {
    Q_OBJECT

  private slots:
    // The paint box's clicks, double clicks and wheel notches reach its handlers at the
    // box's own coordinates; a canvas fills and writes a caption where it is asked; a
    // typed character reaches the form as text, Cyrillic whole.
    void PaintBoxMouseCanvasAndTypedText() {
        const auto owner = MakeForm("owner");
        PaintBox box(owner->Face());
        box.SetBounds({10, 20, 200, 100});
        std::vector<std::string> seen;
        box.OnClick = [&seen](const Point& at) {
            seen.push_back("click " + std::to_string(at.X) + "," + std::to_string(at.Y));
        };
        box.OnDoubleClick = [&seen](const Point& at) {
            seen.push_back("double " + std::to_string(at.X) + "," + std::to_string(at.Y));
        };
        box.OnWheel = [&seen](int notches) { seen.push_back("wheel " + std::to_string(notches)); };
        box.OnPaint = [](Canvas& canvas) {
            canvas.FillRect({0, 0, 200, 100}, 0xFF000080);
            canvas.FillRect({50, 10, 20, 30}, 0xFFFF0000);
            canvas.DrawCaption({0, 60, 200, 40}, "Ёжик.spr", 0xFFFFFFFF);
        };
        owner->Face().Show();
        QVERIFY(QTest::qWaitForWindowExposed(owner.get()));
        QWidget& widget = PaintBoxWidget(box);
        QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(5, 7));
        QTest::mouseDClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, QPoint(1, 1));
        for (const int angle : {120, -240, 60, 60}) {
            QWheelEvent wheel(QPointF(3, 3), widget.mapToGlobal(QPointF(3, 3)), QPoint(),
                              QPoint(0, angle), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(&widget, &wheel);
        }
        QCOMPARE(seen, (std::vector<std::string>{"click 5,7", "double 6,8", "wheel 1", "wheel -2",
                                                 "wheel 1"}));

        const QImage drawn = widget.grab().toImage();
        QCOMPARE(drawn.pixel(0, 0), 0xFF000080u);
        QCOMPARE(drawn.pixel(60, 20), 0xFFFF0000u);
        // The caption's pixels: lighter than the ground, within the caption's box.
        int written = 0, outside = 0;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 200; ++x) {
                const bool light = qGray(drawn.pixel(x, y)) > 128;
                written += light && y >= 60 ? 1 : 0;
                outside += light && y < 60 ? 1 : 0;
            }
        }
        QVERIFY2(written > 20, "the caption is written");
        QCOMPARE(outside, 0);

        std::vector<std::string> typed;
        owner->Face().OnCharacter = [&typed](const std::string& text) { typed.push_back(text); };
        QTest::keyClick(owner.get(), Qt::Key_A, Qt::NoModifier);
        QKeyEvent cyrillic(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ж"));
        QApplication::sendEvent(owner.get(), &cyrillic);
        QTest::keyClick(owner.get(), Qt::Key_Return);
        QCOMPARE(typed, (std::vector<std::string>{"a", "ж"}));
    }

    void TimerKeepsItsPhaseForTheSamePeriod() {
        const auto owner = MakeForm("owner");
        Timer timer(owner->Face(), Timer::Kind::Coarse, 300);
        QVERIFY(!timer.Running());
        timer.Start();
        QTest::qWait(120);
        const int before = timer.RemainingTime();
        QVERIFY(before < 250);
        timer.SetPeriod(300); // the same: nothing happens
        timer.Start();        // already running: nothing happens
        QVERIFY(timer.RemainingTime() <= before);
        timer.SetPeriod(2000); // another: restarts, still running
        QVERIFY(timer.Running());
        QVERIFY(timer.RemainingTime() > 1500);
        timer.Stop();
        timer.SetPeriod(500); // stopped timers stay stopped
        QVERIFY(!timer.Running());
    }

    void TimerPeriodsOfZeroOrLessBecomeOneSecond() {
        const auto owner = MakeForm("owner");
        Timer timer(owner->Face(), Timer::Kind::Precise, 0);
        QCOMPARE(timer.Period(), 1000);
        timer.SetPeriod(200);
        timer.SetPeriod(-5);
        QCOMPARE(timer.Period(), 1000);
    }

    void TimerTicks() {
        const auto owner = MakeForm("owner");
        Timer timer(owner->Face(), Timer::Kind::Precise, 20);
        int ticks = 0;
        timer.OnTick = [&] { ++ticks; };
        timer.Start();
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 2000);
    }

    // Either the owner or the timer may go first; neither frees the clock twice, and
    // a timer whose owner has gone neither ticks nor fails.
    void TimerAndOwnerGoInEitherOrder() {
        {
            auto owner = MakeForm("owner");
            Timer timer(owner->Face(), Timer::Kind::Coarse, 20);
            timer.Start();
            owner.reset();
            QVERIFY(!timer.Running());
            timer.Start();
            timer.SetPeriod(40);
            QCOMPARE(timer.RemainingTime(), -1);
        }
        const auto owner = MakeForm("owner");
        const auto clocks = [&owner] {
            return owner->findChildren<QTimer*>(Qt::FindDirectChildrenOnly).size();
        };
        const auto before = clocks();
        auto timer = std::make_unique<Timer>(owner->Face(), Timer::Kind::Precise, 20);
        QCOMPARE(clocks(), before + 1);
        timer->Start();
        timer.reset();
        QCOMPARE(clocks(), before);
    }

    void ActionsUpdateTheirLinksOnlyOnChange() {
        const auto owner = MakeForm("owner");
        ActionList list(owner->Face());
        Action& action = list.CreateAction("Экран х1", "", nullptr);
        CountingTarget target;
        action.LinkTarget(target, LinkKind::MenuItem, 0);
        QCOMPARE(target.Updates, 1); // linking updates at once
        action.SetCaption("Экран х1");
        action.SetEnabled(true);
        action.SetVisible(true);
        action.SetHint("");
        QCOMPARE(target.Updates, 1);
        action.SetEnabled(false);
        action.SetEnabled(false);
        QCOMPARE(target.Updates, 2);
        action.SetShortcut(ShortcutOf(Key::Of('1')));
        action.SetShortcut(ShortcutOf(Key::Of('1')));
        QCOMPARE(target.Updates, 3);
    }

    void CaptionTabSplitsAndShortcutReplacesTheText() {
        const auto owner = MakeForm("owner");
        ActionList list(owner->Face());
        Action& action = list.CreateAction("Открыть\tCtrl+Q", "Открыть файл(ы)", nullptr);
        QCOMPARE(QString::fromStdString(action.Caption()), QString("Открыть"));
        QCOMPARE(QString::fromStdString(action.ShortcutText()), QString("Ctrl+Q"));
        action.SetShortcut(ShortcutOf(Key::Of('O')));
        QCOMPARE(QString::fromStdString(action.ShortcutText()), QString("O"));
        action.SetCaption("Без разделителя");
        QCOMPARE(QString::fromStdString(action.ShortcutText()), QString());
    }

    void DisabledActionsIgnoreClicksOnEveryTarget() {
        const auto window = MakeForm("test");
        Form& form = window->Face();
        ActionList list(form);
        int runs = 0;
        Action& action = list.CreateAction("Открыть", "hint", [&](Action&) { ++runs; });
        auto menu = Menu::CreatePopup(form, {" ", ""});
        Toolbar toolbar(form);
        toolbar.AddButton("  ", ToolbarImage::OpenFile);
        action.LinkMenuItem(*menu, 0);
        action.LinkToolbarButton(toolbar, 0);
        QCOMPARE(QString::fromStdString(menu->ItemText(0)), QString("Открыть"));
        QCOMPARE(QString::fromStdString(toolbar.ButtonText(0)), QString("Открыть"));
        QCOMPARE(QString::fromStdString(toolbar.Tooltip(0)), QString("hint"));

        menu->Click(0);
        toolbar.Click(0);
        QCOMPARE(runs, 2);
        action.SetEnabled(false);
        QVERIFY(!menu->ItemEnabled(0));
        QVERIFY(!toolbar.IsEnabled(0));
        menu->Click(0);
        toolbar.Click(0);
        QVERIFY(!action.Execute());
        QCOMPARE(runs, 2);
    }

    void ButtonsWithoutTextKeepNone() {
        const auto window = MakeForm("test");
        ActionList list(window->Face());
        Toolbar toolbar(window->Face());
        toolbar.AddButton("", ToolbarImage::Back);
        list.CreateAction("Назад", "", nullptr).LinkToolbarButton(toolbar, 0);
        QCOMPARE(QString::fromStdString(toolbar.ButtonText(0)), QString());
    }

    void IdleUpdatesRunOnlyWhileTheOwnerIsActive() {
        const auto owner = MakeForm("owner");
        ActionList list(owner->Face());
        int updates = 0;
        list.OnUpdateActions = [&](ActionList&) { ++updates; };
        owner->Face().Show();
        owner->Face().Activate();
        QVERIFY(QTest::qWaitForWindowActive(owner.get()));
        RunEventLoop(100);
        QVERIFY(updates > 0);

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        const int seen = updates;
        list.Idle();
        RunEventLoop(100);
        QCOMPARE(updates, seen);
    }

    void MenuTemplateNumbersItemsDepthFirst() {
        const auto window = MakeForm("test");
        auto menu = Menu::CreateMenuBar(
            window->Face(), {"A", "(", "a1", "B", "(", "b1", ")", "a2", ")", "C", "", "ignored"});
        QCOMPARE(menu->ItemCount(), 6);
        const char* captions[] = {"A", "a1", "B", "b1", "a2", "C"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(QString::fromStdString(menu->ItemText(i)), QString(captions[i]));
            QCOMPARE(menu->ItemOpensSubmenu(i), i == 0 || i == 2);
        }
        QCOMPARE(MenuBarOf(*menu)->actions().size(), 2); // A and C on the bar
        QCOMPARE(MenuItem(*menu, 6), nullptr);
        QCOMPARE(MenuItem(*menu, -1), nullptr);
        QCOMPARE(menu->ItemText(6), std::string());
    }

    // Outer bounds asked for before the window system has framed the window, as the
    // stored geometry is at start-up: once the frame is known (here, as under a manager
    // that answers the frame request late, only after the window shows), the frame
    // lands where it was asked and the size counts it.
    void OuterBoundsAskedBeforeTheFrameIsKnownCountTheFrame() {
        const auto window = MakeForm("test");
        Form& face = window->Face();
        face.SetOuterLeft(130);
        face.SetOuterTop(90);
        face.SetOuterHeight(400);
        face.SetOuterWidth(300);
        face.Show();
        QWidget& form = *window;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QMargins frame = form.windowHandle()->frameMargins();
        QVERIFY2(frame.top() > 0 && frame.left() > 0, "the platform draws no frame");
        QTRY_COMPARE(form.geometry(),
                     QRect(130 + frame.left(), 90 + frame.top(), 300 - frame.left() - frame.right(),
                           400 - frame.top() - frame.bottom()));
        QCOMPARE(form.frameGeometry(), QRect(130, 90, 300, 400));
        QCOMPARE(QRect(face.OuterLeft(), face.OuterTop(), face.OuterWidth(), face.OuterHeight()),
                 QRect(130, 90, 300, 400));
    }

    // The layer's key codes and Qt's, both ways, with the shift state; a shortcut's
    // flags become Qt's modifiers and its display text.
    void KeyCodesAndShortcutsMapToQtBothWays() {
        const struct {
            int Virtual;
            int Qt;
        } keys[] = {{Key::Backspace, Qt::Key_Backspace},
                    {Key::Enter, Qt::Key_Return},
                    {Key::Escape, Qt::Key_Escape},
                    {Key::Space, Qt::Key_Space},
                    {Key::PageUp, Qt::Key_PageUp},
                    {Key::PageDown, Qt::Key_PageDown},
                    {Key::End, Qt::Key_End},
                    {Key::Home, Qt::Key_Home},
                    {Key::Left, Qt::Key_Left},
                    {Key::Up, Qt::Key_Up},
                    {Key::Right, Qt::Key_Right},
                    {Key::Down, Qt::Key_Down},
                    {Key::Of('c'), Qt::Key_C},
                    {Key::Of('7'), Qt::Key_7}};
        for (const auto& key : keys) {
            QCOMPARE(VirtualKeyOf(key.Qt), key.Virtual);
            QCOMPARE(QtKeyOf(key.Virtual), key.Qt);
        }
        QCOMPARE(VirtualKeyOf(Qt::Key_F1), 0);
        const QKeyEvent keypadLeft(QEvent::KeyPress, Qt::Key_Left,
                                   Qt::KeypadModifier | Qt::ShiftModifier | Qt::ControlModifier);
        const KeyEvent event = KeyEventOf(keypadLeft);
        QCOMPARE(event.Key, Key::Left);
        QCOMPARE(event.Modifiers, unsigned{ShiftHeld | ControlHeld | OnKeypad});
        QCOMPARE(KeySequenceOf(ShortcutOf(Key::Of('S'), Shortcut::Control)),
                 QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(ShortcutDisplayText(ShortcutOf(Key::Of('S'), Shortcut::Control)),
                 std::string("Ctrl+S"));
        QCOMPARE(ShortcutDisplayText(Shortcut{}), std::string());
    }

    // Work handed over from other threads runs on the window thread, in order; work
    // handed over once the mailbox has gone, or still waiting then, is dropped.
    void MailboxHandsWorkToTheWindowThreadAndDropsItOnceGone() {
        auto mailbox = std::make_unique<WindowThreadMailbox>();
        const WindowThreadMailbox::Address address = mailbox->Here();
        std::vector<int> ran;
        bool onWindowThread = true;
        QThread* const windowThread = QThread::currentThread();
        std::thread worker([&] {
            for (int i = 0; i < 5; ++i) {
                address.Post([&, i] {
                    onWindowThread = onWindowThread && QThread::currentThread() == windowThread;
                    ran.push_back(i);
                });
            }
        });
        worker.join();
        QVERIFY(ran.empty()); // nothing runs until the window thread takes its events
        QTRY_COMPARE(ran, (std::vector<int>{0, 1, 2, 3, 4}));
        QVERIFY(onWindowThread);
        address.Post([&] { ran.push_back(5); }); // waiting when the mailbox goes
        mailbox.reset();
        std::thread([&] { address.Post([&] { ran.push_back(6); }); }).join();
        QTest::qWait(50);
        QCOMPARE(ran.size(), std::size_t{5});
    }

    void ShortcutKeysFollowThePhysicalKey() {
        const struct {
            int Key;
            quint32 ScanCode;
            int Expected;
        } cases[] = {
            {Qt::Key_C, 54, Qt::Key_C}, // Latin layout
            {0x0421, 54, Qt::Key_C},    // Russian layout: С on the key of C
            {0x041A, 27, Qt::Key_R},    // К
            {0x0429, 32, Qt::Key_O},    // Щ
            {Qt::Key_1, 10, Qt::Key_1}, {Qt::Key_Space, 65, 0},
        };
        for (const auto& c : cases) {
            QKeyEvent event(QEvent::KeyPress, c.Key, Qt::NoModifier, c.ScanCode, 0, 0);
            QCOMPARE(ShortcutKey(event), c.Expected);
        }
    }
};

QTEST_MAIN(WindowLayerTest)
#include "window_layer_test.moc"
