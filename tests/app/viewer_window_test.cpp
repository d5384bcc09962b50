// The main window as built: controls, the drawing area's layout rule, the window-size
// commands, shortcuts, and what happens at close.
#include "app/layout_rule.h"
#include "app/viewer_window.h"
#include "formats/load_picture.h"
#include "picture_encoder.h"
#include "picture_image/picture_image.h"
#include "support/temp_dir.h"
#include "ui/action_list.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/open_dialog.h"
#include "ui/paint_box.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/form_window.h"
#include "ui/qt/native.h"
#include "ui/qt/qt_translation.h"
#include "ui/timer.h"
#include "ui/toolbar.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

using namespace kadromir;

// Runs `act` on the modal dialog once it shows (checked every 20 ms, for 10 s at most).
void WhenModalShows(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, act] {
        if (QWidget* modal = QApplication::activeModalWidget();
            modal != nullptr && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        } else if (++*tries > 500) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(20);
}

StartupContext Context(const std::string& config,
                       std::vector<std::string> arguments = {"kadromir"}) {
    StartupContext context;
    context.ConfigFilePath = config;
    context.Arguments = std::move(arguments);
    context.WorkingDirectory = "/";
    return context;
}

// The outer top-left corner that centres a window of that outer size on a display, its
// place on the desktop included (the suite runs once more with the primary display
// right of a second one).
QPoint Centred(const QRect& screen, int width, int height) {
    return screen.topLeft() + QPoint((screen.width() - width) / 2, (screen.height() - height) / 2);
}

// The primary display as the window layer reports it.
QRect PrimaryDisplay() {
    const ui::Rect screen = ui::Form::PrimaryScreen();
    return {screen.Left, screen.Top, screen.Width, screen.Height};
}

// Qt names keys of other scripts by their upper-case letter: С, the key of C.
constexpr int CyrillicEs = 0x0421;

class ViewerWindowTest : public QObject {
    Q_OBJECT

    ViewerWindow* Viewer = nullptr;
    std::unique_ptr<test_support::TempDir> ConfigDir;

    void Show() {
        Viewer->Ui().Form->Show();
        Viewer->Ui().Form->Activate();
        QVERIFY(QTest::qWaitForWindowActive(&Viewer->Ui().Form->Window()));
    }

    QImage GrabArea() {
        return ui::PaintBoxWidget(*Viewer->Ui().DrawingArea)
            .grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

  private slots:
    void init() {
        ConfigDir = std::make_unique<test_support::TempDir>();
        Viewer = &BuildViewerWindow(Context(ConfigDir->Path() + "Кадромир.кфг"));
    }
    void cleanup() {
        delete &Viewer->Ui().Form->Window();
        ConfigDir.reset();
    }

    void ControlsAsBuilt() {
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->Caption()), QString("Кадромир"));
        const char* menuTexts[] = {"Вид",
                                   "Экран х1\t1",
                                   "Экран х2\t2",
                                   "Поцентру \tC",
                                   "Обновить из сохранённых настроек\tR",
                                   "Обзор папки\tReturn",
                                   "Настройки",
                                   "О программе"};
        QCOMPARE(Viewer->Ui().MainMenu->ItemCount(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(QString::fromStdString(Viewer->Ui().MainMenu->ItemText(i)),
                     QString(menuTexts[i]));
            QVERIFY(Viewer->Ui().MainMenu->ItemEnabled(i));
            QVERIFY(!ui::MenuItem(*Viewer->Ui().MainMenu, i)->isChecked());
        }
        const auto bar = ui::MenuBarOf(*Viewer->Ui().MainMenu)->actions();
        QCOMPARE(bar.size(), 3);
        QCOMPARE(bar[0]->menu()->actions().size(), 5);
        QCOMPARE(Viewer->Ui().ToolbarMenu->ItemCount(), 1);
        QCOMPARE(QString::fromStdString(Viewer->Ui().ToolbarMenu->ItemText(0)),
                 QString("Открыть\tO"));

        const char* texts[] = {"Открыть", "Предыдущее", "Следующее"};
        const char* tips[] = {"Открыть файл(ы)", "Предыдущее", "Следующее"};
        const bool enabled[] = {true, false, false};
        QCOMPARE(Viewer->Ui().Toolbar->ButtonCount(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(QString::fromStdString(Viewer->Ui().Toolbar->ButtonText(i)),
                     QString(texts[i]));
            QCOMPARE(QString::fromStdString(Viewer->Ui().Toolbar->Tooltip(i)), QString(tips[i]));
            QCOMPARE(Viewer->Ui().Toolbar->IsEnabled(i), enabled[i]);
            QCOMPARE(ui::ToolbarButton(*Viewer->Ui().Toolbar, i)->toolButtonStyle(),
                     Qt::ToolButtonTextBesideIcon);
            QVERIFY(!ui::ToolbarButton(*Viewer->Ui().Toolbar, i)->icon().isNull());
        }
        for (ui::Timer* timer : {Viewer->Ui().SlideTimer, Viewer->Ui().RefreshTimer}) {
            QVERIFY(!timer->Running());
            QCOMPARE(timer->Period(), 1000);
        }
        QCOMPARE(Viewer->Ui().Actions->Actions().size(), std::size_t(8));
        QCOMPARE(QString::fromStdString(Viewer->Ui().OpenDialog->FilterText()),
                 QString("*.spr;*.rmb;*.scr|*.spr;*.rmb;*.scr"));
    }

    void ContextMenusOfTheToolbarAndThePicture() {
        Show();
        // The text of the popup the event opens, which is then closed.
        const auto popupFor = [](QWidget* widget) {
            QString shown;
            QTimer::singleShot(100, [&] {
                if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    for (QAction* action : popup->actions()) {
                        shown += action->text() + "|";
                    }
                    popup->close();
                }
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
            QApplication::sendEvent(widget, &event);
            return shown;
        };
        QCOMPARE(popupFor(&ui::ToolbarStrip(*Viewer->Ui().Toolbar)), QString("Открыть\tO|"));
        QCOMPARE(popupFor(&ui::PaintBoxWidget(*Viewer->Ui().DrawingArea)),
                 QString("Сохранить как PNG…\tCtrl+S|Копировать\tCtrl+C|"));
    }

    void StatusLineKeepsTheClientHeight() {
        Show();
        QCOMPARE(Viewer->Ui().Form->ClientWidth(), 286);
        QCOMPARE(Viewer->Ui().Form->ClientHeight(), 349);
        QVERIFY(Viewer->Ui().Form->HasStatusLine());
        QCOMPARE(ui::PaintBoxWidget(*Viewer->Ui().DrawingArea).geometry(), QRect(15, 52, 256, 279));
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->StatusText()),
                 QString("Экран: Ширина=256, Высота=279"));
    }

    void LayoutRuleFollowsTheClientSize_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<QRect>("area");
        QTest::newRow("built") << 286 << 349 << QRect(15, 52, 256, 279);
        QTest::newRow("narrower") << 288 << 345 << QRect(16, 52, 257, 275);
        QTest::newRow("double") << 578 << 637 << QRect(32, 70, 514, 531);
        QTest::newRow("wide") << 1920 << 1000 << QRect(108, 93, 1701, 848);
        QTest::newRow("too short: no height") << 286 << 20 << QRect(15, 33, 256, 0);
    }
    void LayoutRuleFollowsTheClientSize() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(QRect, area);
        Show();
        Viewer->Ui().Form->SetClientSize(w, h);
        QTRY_COMPARE(ui::PaintBoxWidget(*Viewer->Ui().DrawingArea).geometry(), area);
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->StatusText()),
                 QString::fromStdString(StatusLineText(area.width(), area.height())));
        // And back: the rule places the area as at the start.
        Viewer->Ui().Form->SetClientSize(286, 349);
        QTRY_COMPARE(ui::PaintBoxWidget(*Viewer->Ui().DrawingArea).geometry(),
                     QRect(15, 52, 256, 279));
    }

    void ScreenSizesAndCentring() {
        Show();
        const QRect screen = PrimaryDisplay();
        const struct {
            void (ViewerWindow::*Command)();
            int Width, Height;
        } cases[] = {{&ViewerWindow::ScreenX1, 304, 423}, {&ViewerWindow::ScreenX2, 594, 715}};
        for (const auto& c : cases) {
            Viewer->Ui().Form->Window().move(3, 4);
            (Viewer->*c.Command)();
            QCOMPARE(Viewer->Ui().Form->OuterWidth(), c.Width);
            QCOMPARE(Viewer->Ui().Form->OuterHeight(), c.Height);
            QCOMPARE(Viewer->Ui().Form->OuterLeft(), Centred(screen, c.Width, c.Height).x());
            QCOMPARE(Viewer->Ui().Form->OuterTop(), Centred(screen, c.Width, c.Height).y());
            QVERIFY(Viewer->Ui().Form->Visible());
        }
        // Larger than the screen: beyond its top-left corner.
        Viewer->Ui().Form->SetOuterWidth(screen.width() + 201);
        Viewer->Ui().Form->SetOuterHeight(screen.height() + 101);
        Viewer->CentreWindow();
        QCOMPARE(Viewer->Ui().Form->OuterLeft(), screen.left() - 100);
        QCOMPARE(Viewer->Ui().Form->OuterTop(), screen.top() - 50);
    }

    void ShortcutsActOnlyWithoutModifiers_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<bool>("centres");
        QTest::newRow("C") << int(Qt::Key_C) << int(Qt::NoModifier) << 54u << true;
        QTest::newRow("Shift+C") << int(Qt::Key_C) << int(Qt::ShiftModifier) << 54u << false;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << 54u << false;
        QTest::newRow("Alt+C") << int(Qt::Key_C) << int(Qt::AltModifier) << 54u << false;
        QTest::newRow("C, Russian layout") << int(CyrillicEs) << int(Qt::NoModifier) << 54u << true;
        QTest::newRow("Shift+C, Russian layout")
            << int(CyrillicEs) << int(Qt::ShiftModifier) << 54u << false;
        QTest::newRow("another key") << int(Qt::Key_V) << int(Qt::NoModifier) << 55u << false;
    }
    void ShortcutsActOnlyWithoutModifiers() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(quint32, scanCode);
        QFETCH(bool, centres);
        Show();
        Viewer->Ui().Form->Window().move(1, 1);
        const auto mods = Qt::KeyboardModifiers(modifiers);
        if (key == CyrillicEs) {
            // What the X server delivers for that key under a Russian layout.
            QKeyEvent press(QEvent::KeyPress, key, mods, scanCode, 0x6d3, 0, "с");
            QApplication::sendEvent(&Viewer->Ui().Form->Window(), &press);
        } else {
            QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key(key), mods);
        }
        QTest::qWait(20);
        const QPoint centred = Centred(PrimaryDisplay(), Viewer->Ui().Form->OuterWidth(),
                                       Viewer->Ui().Form->OuterHeight());
        QCOMPARE(Viewer->Ui().Form->Window().pos() == centred, centres);
    }

    void KeyOneSetsSingleSize() {
        Show();
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_1, Qt::ShiftModifier);
        QVERIFY(Viewer->Ui().Form->OuterWidth() != 304);
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_1);
        QCOMPARE(Viewer->Ui().Form->OuterWidth(), 304);
        QCOMPARE(Viewer->Ui().Form->OuterHeight(), 423);
    }

    void MinimizedFollowsTheWindowState() {
        Show();
        Viewer->Ui().Form->Window().setWindowState(Qt::WindowMinimized);
        QVERIFY(Viewer->WindowMinimized());
        Viewer->Ui().Form->Window().setWindowState(Qt::WindowNoState);
        QVERIFY(!Viewer->WindowMinimized());
        Viewer->Ui().Form->Window().setWindowState(Qt::WindowMaximized);
        QVERIFY(!Viewer->WindowMinimized());
        Viewer->Ui().Form->Window().setWindowState(Qt::WindowMinimized);
        Viewer->Ui().Form->Window().setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
        QVERIFY(Viewer->WindowMinimized());
    }

    void BlankBlackPictureBeforeTheFirstLoad() {
        Show();
        QVERIFY(Viewer->Picture() != nullptr);
        QVERIFY(Viewer->Picture()->Bitmap == FrameBitmap{});
        QCOMPARE(Viewer->Ui().Form->BackgroundColour(), 0xFF000000u);
        const QImage area = GrabArea();
        for (int y = 0; y < area.height(); y += 7) {
            for (int x = 0; x < area.width(); x += 7) {
                QCOMPARE(area.pixel(x, y), qRgb(0, 0, 0));
            }
        }
    }

    void PictureIsStretchedWithoutSmoothing() {
        Show();
        test_support::TempDir dir;
        PlaneBuffer planes{};
        planes[PlaneIndex(0, 0, 0)] = 0xAA; // pixels 0, 2, 4, 6 of row 0: index 1
        std::array<ColourCode, 16> palette{};
        palette[0] = 0x40; // dark blue, also the border
        palette[1] = 0xFF; // white
        LoadPicture(dir.Write("pic.rmb", encoder::EncodeRmb(palette, planes)), *Viewer->Picture());
        Viewer->Ui().Form->SetClientSize(578, 637); // area 514 x 531: about twice the picture
        QTRY_COMPARE(ui::PaintBoxWidget(*Viewer->Ui().DrawingArea).size(), QSize(514, 531));
        Viewer->DrawPicture();
        QCOMPARE(Viewer->Ui().Form->BackgroundColour(), ColourCodeTable::BackgroundForm[0x40]);
        const QImage area = GrabArea();
        const QRgb white = qRgb(255, 255, 255), blue = qRgb(0, 0, 0x7F);
        // Exactly the two colours everywhere: nothing is blended.
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                QVERIFY(area.pixel(x, y) == white || area.pixel(x, y) == blue);
            }
        }
        // The centre of every picture pixel's cell shows that pixel.
        const auto centre = [&](int bx, int by) {
            return area.pixel((2 * bx + 1) * area.width() / 512,
                              (2 * by + 1) * area.height() / 512);
        };
        for (int by = 0; by < 3; ++by) {
            for (int bx = 0; bx < 12; ++bx) {
                QCOMPARE(centre(bx, by), (by == 0 && bx < 8 && bx % 2 == 0) ? white : blue);
            }
        }
        QCOMPARE(centre(255, 255), blue);
    }

    void FirstStartCreatesTheSettingsFile() {
        QVERIFY(std::filesystem::exists(ConfigDir->Path() + "Кадромир.кфг"));
        // Centred 15 pixels above the middle of the screen.
        const QPoint centred = Centred(PrimaryDisplay(), Viewer->Ui().Form->OuterWidth(),
                                       Viewer->Ui().Form->OuterHeight());
        QCOMPARE(Viewer->Ui().Form->OuterTop(), centred.y() - 15);
        QCOMPARE(Viewer->Ui().Form->OuterLeft(), centred.x());
    }

    // A stored height below 20 is no geometry: the window stays centred on the display
    // as it was placed before the settings were read (the pointer's), in both directions.
    void ARejectedStoredHeightLeavesTheWindowCentred() {
        test_support::TempDir dir;
        const std::string config = dir.Path() + "Кадромир.кфг";
        const std::string text = "[Настройки]\nСохранять координаты главного окна=1\n"
                                 "x=30\ny=40\nВысота=10\nШирина=350\n";
        dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(text.begin(), text.end()));
        ViewerWindow& viewer = BuildViewerWindow(Context(config));
        const QScreen* display = QGuiApplication::screenAt(QCursor::pos());
        const QPoint centred =
            Centred(display ? display->geometry() : PrimaryDisplay(),
                    viewer.Ui().Form->OuterWidth(), viewer.Ui().Form->OuterHeight());
        QCOMPARE(viewer.Ui().Form->OuterLeft(), centred.x());
        QCOMPARE(viewer.Ui().Form->OuterTop(), centred.y());
        QVERIFY(viewer.Ui().Form->OuterWidth() != 350);
        delete &viewer.Ui().Form->Window();
    }

    void StoredGeometryPlacesTheWindowAndTheCloseSavesIt() {
        test_support::TempDir dir;
        const std::string config = dir.Path() + "Кадромир.кфг";
        const std::string text = "[Настройки]\nСохранять координаты главного окна=1\n"
                                 "x=30\ny=40\nВысота=400\nШирина=350\n";
        dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(text.begin(), text.end()));
        ViewerWindow& viewer = BuildViewerWindow(Context(config));
        QCOMPARE(viewer.Ui().Form->OuterLeft(), 30);
        QCOMPARE(viewer.Ui().Form->OuterTop(), 40);
        QCOMPARE(viewer.Ui().Form->OuterWidth(), 350);
        // The file holds the outer height less 29; start-up and a reload both add it.
        QCOMPARE(viewer.Ui().Form->OuterHeight(), 429);
        viewer.Ui().Form->MoveOuter(70, 80);
        viewer.CloseRequested();
        delete &viewer.Ui().Form->Window();
        std::ifstream in(config);
        const std::string saved{std::istreambuf_iterator<char>(in), {}};
        // The height is as it was applied, so it is not written again.
        QCOMPARE(saved, std::string("[Настройки]\nСохранять координаты главного окна=1\n"
                                    "x=70\ny=80\nВысота=400\nШирина=350\n"));
    }

    void FrozenGeometryIsSavedAtCloseOnlyWhenMinimized() {
        for (const bool minimized : {false, true}) {
            test_support::TempDir dir;
            const std::string config = dir.Path() + "Кадромир.кфг";
            const std::string text =
                "[Настройки]\nСохранять координаты главного окна=1\n"
                "Использовать сохранённые координаты=1\nx=30\ny=40\nВысота=400\nШирина=350\n";
            dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(text.begin(), text.end()));
            ViewerWindow& viewer = BuildViewerWindow(Context(config));
            viewer.Ui().Form->MoveOuter(70, 80);
            viewer.Ui().Form->OnSystemCommand(minimized ? ui::SystemCommand::Minimize
                                                        : ui::SystemCommand::Restore);
            viewer.CloseRequested();
            delete &viewer.Ui().Form->Window();
            std::ifstream in(config);
            const std::string saved{std::istreambuf_iterator<char>(in), {}};
            QCOMPARE(saved.find("x=70") != std::string::npos, minimized);
        }
    }

    // The program scans on a worker thread: the picture shows at once, the position
    // follows; a close while a scan is under way waits for nothing and takes no result.
    void ScansOnAWorkerThreadEndOnTheWindowThread() {
        test_support::TempDir dir;
        for (const char* name : {"a.spr", "b.spr", "c.spr"}) {
            dir.Write(name, encoder::EncodeSpr({0x07}, PlaneBuffer{}));
        }
        StartupContext context =
            Context(ConfigDir->Path() + "background.кфг", {"kadromir", dir.Path() + "b.spr"});
        context.ScanInBackground = true;
        ViewerWindow& viewer = BuildViewerWindow(context);
        QCOMPARE(viewer.Picture()->BorderColour, ColourCode{0x07});
        QTRY_COMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                     QString("Кадромир : 2/3  b.spr"));
        QVERIFY(viewer.Ui().Toolbar->IsEnabled(2));
        for (int i = 0; i < 3000; ++i) {
            dir.Write("more" + std::to_string(i) + ".rmb", {});
        }
        viewer.RefreshTick();
        viewer.CloseRequested();
        QVERIFY(viewer.Navigation().FileList() == std::nullopt);
        QTest::qWait(300); // any result would arrive in this time: it must change nothing
        QVERIFY(viewer.Navigation().FileList() == std::nullopt);
        delete &viewer.Ui().Form->Window();
    }

    void ToolbarAndKeysStepThroughTheDirectory() {
        test_support::TempDir dir;
        for (const char* name : {"a.spr", "b.spr", "c.spr"}) {
            dir.Write(name, encoder::EncodeSpr({}, PlaneBuffer{}));
        }
        ViewerWindow& viewer = BuildViewerWindow(
            Context(ConfigDir->Path() + "other.кфг", {"kadromir", dir.Path() + "b.spr"}));
        viewer.Ui().Form->Show();
        viewer.Ui().Form->Activate();
        QVERIFY(QTest::qWaitForWindowActive(&viewer.Ui().Form->Window()));
        QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                 QString("Кадромир : 2/3  b.spr"));
        QVERIFY(viewer.Ui().Toolbar->IsEnabled(1) && viewer.Ui().Toolbar->IsEnabled(2));
        const struct {
            int Key;
            Qt::KeyboardModifiers Modifiers;
            const char* Title;
        } steps[] = {
            {-1, Qt::NoModifier, "Кадромир : 3/3  c.spr"}, // the "Следующее" button
            {Qt::Key_Right, Qt::NoModifier, "Кадромир : 1/3  a.spr"},
            {Qt::Key_Space, Qt::NoModifier, "Кадромир : 2/3  b.spr"},
            {Qt::Key_Left, Qt::NoModifier, "Кадромир : 1/3  a.spr"},
            {Qt::Key_Backspace, Qt::NoModifier, "Кадромир : 3/3  c.spr"},
            {Qt::Key_Right, Qt::ControlModifier, "Кадромир : 1/3  a.spr"},
            {Qt::Key_Left, Qt::AltModifier, "Кадромир : 3/3  c.spr"},
            {-2, Qt::NoModifier, "Кадромир : 2/3  b.spr"}, // the "Предыдущее" button
            {Qt::Key_Up, Qt::NoModifier, "Кадромир : 2/3  b.spr"},
        };
        for (const auto& step : steps) {
            if (step.Key == -1) {
                viewer.Ui().Toolbar->Click(2);
            } else if (step.Key == -2) {
                viewer.Ui().Toolbar->Click(1);
            } else {
                QTest::keyClick(&viewer.Ui().Form->Window(), Qt::Key(step.Key), step.Modifiers);
            }
            QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()), QString(step.Title));
        }
        delete &viewer.Ui().Form->Window();
    }

    void KeysDoNothingBeforeTheFirstList() {
        Show();
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_Right);
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_Space);
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->Caption()), QString("Кадромир"));
        QVERIFY(!Viewer->Ui().Toolbar->IsEnabled(1));
    }

    void ADropOpensTheFirstPicture() {
        Show();
        test_support::TempDir dir;
        dir.Write("x.png", {1, 2, 3});
        dir.Write("pic.Spr", encoder::EncodeSpr({}, PlaneBuffer{}));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.Path() + "x.png")),
                      QUrl("https://example.invalid/remote.spr"),
                      QUrl::fromLocalFile(QString::fromStdString(dir.Path() + "pic.Spr"))});
        const std::string dropped = ui::JoinDroppedFiles(data);
        QCOMPARE(dropped, dir.Path() + "x.png\r" + dir.Path() + "pic.Spr");
        Viewer->Ui().Form->OnFilesDropped(dropped);
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->Caption()),
                 QString("Кадромир : 1/1  pic.Spr"));
    }

    void OpenCommandRunsTheDialogAndRemembersThePath() {
        Show();
        test_support::TempDir dir;
        dir.Write("one.Rmb", encoder::EncodeRmb({}, PlaneBuffer{}));
        dir.Write("two.spr", encoder::EncodeSpr({}, PlaneBuffer{}));
        const QString chosen = QString::fromStdString(dir.Path() + "two.spr");
        QString filter;
        WhenModalShows([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            filter = dialog->nameFilters().join(";");
            // As a user types a path into the name field and confirms.
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (name == nullptr) {
                dialog->reject();
                QFAIL("the dialog has no name field");
            }
            name->setText(chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        Viewer->Ui().OpenAction->Execute();
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->Caption()),
                 QString("Кадромир : 2/2  two.spr"));
        QCOMPARE(QString::fromStdString(Viewer->Ui().OpenDialog->LastPath()), chosen);
        QVERIFY(filter.contains("*.[sS][pP][rR] *.[rR][mM][bB] *.[sS][cC][rR]"));
        WhenModalShows([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        Viewer->Ui().OpenAction->Execute();
        QCOMPARE(QString::fromStdString(Viewer->Ui().OpenDialog->LastPath()), QString());
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->Caption()),
                 QString("Кадромир : 2/2  two.spr"));
    }

    void SaveWritesTheConvertersPngWhereTheDialogStarts() {
        Show();
        test_support::TempDir dir;
        PlaneBuffer planes{};
        planes[PlaneIndex(1, 3, 7)] = 0x5A;
        dir.Write("pic.Rmb", encoder::EncodeRmb({0x07, 0x38, 0xC0}, planes));
        Viewer->Ui().Form->OnFilesDropped(dir.Path() + "pic.Rmb");
        PictureState expected;
        QCOMPARE(LoadPicture(dir.Path() + "pic.Rmb", expected), LoadOutcome::Loaded);
        QString startDirectory;
        QString offeredName;
        WhenModalShows([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            startDirectory = dialog->directory().absolutePath() + "/";
            offeredName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
            static_cast<QDialog*>(dialog)->accept();
        });
        // Through the context menu's shortcut, as a user presses it.
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(startDirectory, QString::fromStdString(dir.Path()));
        QCOMPARE(offeredName, QString("pic.png"));
        QFile saved(QString::fromStdString(dir.Path() + "pic.png"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), EncodePng(expected));
        QCOMPARE(Viewer->Ui().SaveAsPngAction->Caption(), std::string("Сохранить как PNG…"));
        QCOMPARE(Viewer->Ui().PictureMenu->ItemText(0), std::string("Сохранить как PNG…\tCtrl+S"));
    }

    void SaveAfterARefusedStepOffersThePictureOnScreen() {
        Show();
        test_support::TempDir dir;
        dir.Write("a.spr", encoder::EncodeSpr({0x07, 0x38}, PlaneBuffer{}));
        dir.Write("b.rmb", std::vector<std::uint8_t>(100, 0x11));
        Viewer->Ui().Form->OnFilesDropped(dir.Path() + "a.spr");
        QTRY_COMPARE(QString::fromStdString(Viewer->Ui().Form->Caption()),
                     QString("Кадромир : 1/2  a.spr"));
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_Right);
        QCOMPARE(QString::fromStdString(Viewer->Ui().Form->Caption()),
                 QString("Кадромир : 2/2  b.rmb-Несоответствие в заголовке!"));
        PictureState expected;
        QCOMPARE(LoadPicture(dir.Path() + "a.spr", expected), LoadOutcome::Loaded);
        QString offeredName;
        WhenModalShows([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            offeredName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(offeredName, QString("a.png"));
        QFile saved(QString::fromStdString(dir.Path() + "a.png"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), EncodePng(expected));
        QVERIFY(!QFile::exists(QString::fromStdString(dir.Path() + "b.png")));
    }

    void CopyPutsThePictureOnTheClipboardAndCtrlCDoesNotCentre() {
        Show();
        test_support::TempDir dir;
        dir.Write("pic.spr", encoder::EncodeSpr({0x07, 0x38, 0xC0, 0xFF}, PlaneBuffer{}));
        Viewer->Ui().Form->OnFilesDropped(dir.Path() + "pic.spr");
        PictureState expected;
        QCOMPARE(LoadPicture(dir.Path() + "pic.spr", expected), LoadOutcome::Loaded);
        QApplication::clipboard()->clear();
        Viewer->Ui().Form->SetOuterLeft(3);
        Viewer->Ui().Form->SetOuterTop(5);
        const QRect before = Viewer->Ui().Form->Window().frameGeometry();
        QTest::keyClick(&Viewer->Ui().Form->Window(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr && data->hasImage());
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGB32),
                 PictureImage(expected).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(data->data("image/png"), EncodePng(expected));
        QCOMPARE(Viewer->Ui().Form->Window().frameGeometry(), before);
        QCOMPARE(Viewer->Ui().CopyAction->Caption(), std::string("Копировать"));
        QCOMPARE(Viewer->Ui().PictureMenu->ItemText(1), std::string("Копировать\tCtrl+C"));
    }

    void TheWindowCarriesTheProgramsIcon() {
        const QIcon icon = Viewer->Ui().Form->Window().windowIcon();
        for (const int size : {16, 32, 48, 64}) {
            QCOMPARE(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
                     ui::RenderAppIcon(size).convertToFormat(QImage::Format_ARGB32));
        }
    }

    void QtsOwnTextsReadRussianWhereTheTranslationIsInstalled() {
        const QString catalogue =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm";
        if (!QFile::exists(catalogue)) {
            QSKIP("Qt's Russian translation is not installed");
        }
        QTranslator* translator = ui::InstallQtTranslation(*qApp);
        QVERIFY(translator != nullptr);
        Show();
        QStringList buttons;
        QString nameLabel;
        WhenModalShows([&](QWidget* modal) {
            for (const QAbstractButton* button : modal->findChild<QDialogButtonBox*>()->buttons()) {
                buttons << button->text();
            }
            if (const auto* label = modal->findChild<QLabel*>("fileNameLabel")) {
                nameLabel = label->text();
            }
            qobject_cast<QDialog*>(modal)->reject();
        });
        Viewer->Ui().OpenAction->Execute();
        QCoreApplication::removeTranslator(translator);
        delete translator;
        QCOMPARE(buttons, QStringList({"&Открыть", "Отмена"}));
        QCOMPARE(nameLabel, QString("&Имя файла:"));
    }

    void TheCloseStoresTheRecentFile() {
        test_support::TempDir dir;
        dir.Write("a.spr", encoder::EncodeSpr({}, PlaneBuffer{}));
        const std::string config = dir.Path() + "Кадромир.кфг";
        const std::string text = "[Настройки]\nЗапуск недавнего файла=1\nНедавний файл=/old.spr\n";
        dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(text.begin(), text.end()));
        ViewerWindow& viewer =
            BuildViewerWindow(Context(config, {"kadromir", dir.Path() + "a.spr"}));
        viewer.CloseRequested();
        QVERIFY(viewer.Navigation().FileList() == std::nullopt);
        delete &viewer.Ui().Form->Window();
        std::ifstream in(config);
        const std::string saved{std::istreambuf_iterator<char>(in), {}};
        QCOMPARE(saved,
                 "[Настройки]\nЗапуск недавнего файла=1\nНедавний файл=" + dir.Path() + "a.spr\n");
    }

    ViewerWindow& BuildWith(test_support::TempDir& dir, const std::string& config,
                            std::vector<std::string> arguments = {"kadromir"},
                            TimeOfDayClock clock = UtcTimeOfDayMs) {
        dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(config.begin(), config.end()));
        StartupContext context = Context(dir.Path() + "Кадромир.кфг", std::move(arguments));
        context.Clock = std::move(clock);
        return BuildViewerWindow(context);
    }

    void TimersAreArmedAtStartWithClampedIntervals() {
        const struct {
            const char* Config;
            bool Slides, Refresh;
            int SlidePeriod, RefreshPeriod;
        } cases[] = {
            {"", false, false, 1000, 1000},
            {"Показ слайдов=1\nИнтервал слайдов=0\n", true, false, 1000, 1000},
            {"Показ слайдов=1\nИнтервал слайдов=9\n", true, false, 4000, 1000},
            {"Автообновление пути файлов=1\nИнтервал автообновления пути файлов=45\n", false, true,
             1000, 45000},
            {"Автообновление пути файлов=1\nИнтервал автообновления пути файлов=-3\n", false, true,
             1000, 1000},
            {"Автообновление пути файлов=1\nИнтервал автообновления пути файлов=51\n", false, true,
             1000, 50000},
            {"Интервал слайдов=3\n", false, false, 1000, 1000},
        };
        for (const auto& c : cases) {
            test_support::TempDir dir;
            ViewerWindow& viewer = BuildWith(dir, std::string("[Настройки]\n") + c.Config);
            QCOMPARE(viewer.Ui().SlideTimer->Running(), c.Slides);
            QCOMPARE(viewer.Ui().RefreshTimer->Running(), c.Refresh);
            QCOMPARE(viewer.Ui().SlideTimer->Period(), c.SlidePeriod);
            QCOMPARE(viewer.Ui().RefreshTimer->Period(), c.RefreshPeriod);
            delete &viewer.Ui().Form->Window();
        }
    }

    void SlidesWrapInOrderAndRandomSlidesReachEveryPicture() {
        test_support::TempDir dir;
        for (const char* name : {"a.spr", "b.spr", "c.spr"}) {
            dir.Write(name, encoder::EncodeSpr({}, PlaneBuffer{}));
        }
        std::uint32_t clock = 36000000, tick = 0;
        ViewerWindow& viewer =
            BuildWith(dir, "[Настройки]\nПоказ слайдов=1\n", {"kadromir", dir.Path() + "c.spr"},
                      [&] { return clock += 1000 + (++tick % 7); });
        QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                 QString("Кадромир : 3/3  c.spr"));
        viewer.SlideTick();
        QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                 QString("Кадромир : 1/3  a.spr"));
        // Read at every tick: a reload of the settings is enough.
        const std::string random = "[Настройки]\nПоказ слайдов=1\nСлучайные слайды=1\n";
        dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(random.begin(), random.end()));
        viewer.ReloadFromSettings();
        QVERIFY(viewer.Options().RandomSlides);
        std::set<std::string> shown;
        int outOfOrder = 0; // steps that in-order slides would never take
        const auto letter = [](const std::string& file) {
            return file[file.size() - 5];
        }; // "a" of "a.spr"
        for (int i = 0; i < 60; ++i) {
            const char before = letter(viewer.Navigation().CurrentFile());
            viewer.SlideTick();
            const std::string& now = viewer.Navigation().CurrentFile();
            shown.insert(now);
            outOfOrder += letter(now) != (before == 'c' ? 'a' : before + 1);
        }
        QCOMPARE(shown.size(), std::size_t(3));
        QVERIFY(outOfOrder > 10);
        delete &viewer.Ui().Form->Window();
    }

    void RefreshTicksSeeAddedAndDeletedFiles() {
        test_support::TempDir dir;
        for (const char* name : {"a.spr", "b.spr"}) {
            dir.Write(name, encoder::EncodeSpr({}, PlaneBuffer{}));
        }
        ViewerWindow& viewer = BuildWith(dir, "[Настройки]\n", {"kadromir", dir.Path() + "b.spr"});
        dir.Write("c.spr", encoder::EncodeSpr({}, PlaneBuffer{}));
        QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                 QString("Кадромир : 2/2  b.spr"));
        viewer.RefreshTick();
        QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                 QString("Кадромир : 2/3  b.spr"));
        std::filesystem::remove(dir.Path() + "b.spr");
        viewer.RefreshTick();
        QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                 QString("Кадромир - Файлы не найдены!"));
        viewer.SlideTick(); // the show still moves on through the old list
        QCOMPARE(QString::fromStdString(viewer.Ui().Form->Caption()),
                 QString("Кадромир : 3/3  c.spr"));
        delete &viewer.Ui().Form->Window();
    }

    void ReloadAppliesTheStoredGeometryAsStartUpDoes() {
        test_support::TempDir dir;
        ViewerWindow& viewer = BuildWith(dir, "[Настройки]\nСохранять координаты главного "
                                              "окна=1\nx=5\ny=6\nВысота=400\nШирина=350\n");
        QCOMPARE(viewer.Ui().Form->OuterHeight(), 429);
        viewer.Ui().Form->SetOuterHeight(600);
        viewer.Ui().SlideTimer->Start();
        viewer.Ui().ReloadAction->Execute();
        QCOMPARE(viewer.Ui().Form->OuterHeight(), 429);
        QCOMPARE(viewer.Ui().Form->OuterLeft(), 5);
        QVERIFY(viewer.Ui().SlideTimer->Running()); // the timers are left alone
        delete &viewer.Ui().Form->Window();
    }

    void AboutIsTitledWithTheCaptionAndHasTwoLines() {
        test_support::TempDir dir;
        dir.Write("cat.spr", encoder::EncodeSpr({}, PlaneBuffer{}));
        ViewerWindow& viewer =
            BuildWith(dir, "[Настройки]\n", {"kadromir", dir.Path() + "cat.spr"});
        viewer.Ui().Form->Show();
        QString title, text;
        int buttons = -1;
        QMessageBox::Icon icon = QMessageBox::Critical;
        WhenModalShows([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box != nullptr) {
                title = box->windowTitle();
                text = box->text();
                buttons = box->buttons().size();
                icon = box->icon();
            }
            modal->close();
        });
        viewer.Ui().MainMenu->Click(7);
        QCOMPARE(title, QString("Кадромир : 1/1  cat.spr"));
        QCOMPARE(text.split('\n').size(), 2);
        QVERIFY(text.startsWith("Кадромир"));
        QCOMPARE(buttons, 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        delete &viewer.Ui().Form->Window();
    }

    void NothingIsPaintedOrTickedAfterTheClose() {
        Show();
        int ticks = 0;
        Viewer->Ui().SlideTimer->OnTick = [&] { ++ticks; };
        Viewer->Ui().SlideTimer->SetPeriod(10);
        Viewer->Ui().SlideTimer->Start();
        Viewer->Ui().RefreshTimer->Start();
        Viewer->CloseRequested();
        QVERIFY(!Viewer->Ui().SlideTimer->Running());
        QVERIFY(!Viewer->Ui().RefreshTimer->Running());
        QVERIFY(Viewer->Picture() == nullptr);
        QImage canvas(ui::PaintBoxWidget(*Viewer->Ui().DrawingArea).size(), QImage::Format_RGB32);
        canvas.fill(qRgb(255, 0, 0));
        ui::PaintBoxWidget(*Viewer->Ui().DrawingArea).render(&canvas);
        QCOMPARE(canvas.pixel(10, 10), qRgb(255, 0, 0));
        Viewer->DrawPicture(); // a late draw does nothing either
        QTest::qWait(50);
        QCOMPARE(ticks, 0);
    }
};

QTEST_MAIN(ViewerWindowTest)
#include "viewer_window_test.moc"
