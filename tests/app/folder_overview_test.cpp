// The folder overview in the viewer's window: the keys and the mouse, what a tile
// holds, the title, the scale kept in the settings, and the overview with the slide
// show and the refresh.
#include "app/folder_overview.h"
#include "app/viewer_window.h"
#include "base/code_pages.h"
#include "overview/tile.h"
#include "picture_encoder.h"
#include "support/temp_dir.h"
#include "ui/action_list.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/paint_box.h"
#include "ui/qt/form_window.h"
#include "ui/qt/native.h"
#include "ui/toolbar.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <filesystem>
#include <fstream>
#include <vector>

using namespace kadromir;

namespace {

StartupContext Context(const std::string& config, const std::string& picture) {
    StartupContext context;
    context.ConfigFilePath = config;
    context.Arguments = {"kadromir", picture};
    context.WorkingDirectory = "/";
    return context;
}

// A picture of its own: stripes whose colours and border depend on `seed`.
std::vector<std::uint8_t> Picture(int seed) {
    std::vector<std::uint8_t> indices(256 * 256);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<std::uint8_t>((i / 256 / (4 + seed) + i % 256 / 16 + seed) % 16);
    }
    std::array<ColourCode, 16> palette{};
    for (int c = 0; c < 16; ++c) {
        palette[static_cast<std::size_t>(c)] = static_cast<ColourCode>((c * 37 + seed * 11) & 0xFF);
    }
    palette[0] = static_cast<ColourCode>(seed * 5);
    return encoder::EncodeSpr(palette, encoder::PlanesFromIndices(indices, PlaneOrder::Straight));
}

// What a paint draws, in order.
class RecordingCanvas : public ui::Canvas {
  public:
    struct Caption {
        ui::Rect Box;
        std::string Text;
    };
    void StretchDraw(const ui::Image& image, const ui::Rect& target) override {
        Drawn.push_back({image.Width, target});
    }
    void FillRect(const ui::Rect& target, std::uint32_t colour) override {
        Filled.push_back({target, colour});
    }
    void DrawCaption(const ui::Rect& box, const std::string& text, std::uint32_t) override {
        Captions.push_back({box, text});
    }
    int FilledWith(std::uint32_t colour) const {
        int n = 0;
        for (const auto& [rect, c] : Filled) {
            n += c == colour;
        }
        return n;
    }
    std::vector<std::pair<int, ui::Rect>> Drawn;
    std::vector<std::pair<ui::Rect, std::uint32_t>> Filled;
    std::vector<Caption> Captions;
};

} // namespace

class FolderOverviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test_support::TempDir> Dir;
    ViewerWindow* Viewer = nullptr;

    // A viewer on `picture` of the folder, shown and active, its client area 620 x 500:
    // four columns of 128-pixel tiles, two rows in view.
    void Open(const std::string& picture) {
        Viewer = &BuildViewerWindow(Context(Dir->Path() + "Кадромир.кфг", Dir->Path() + picture));
        Viewer->Ui().Form->SetClientSize(620, 500);
        Viewer->Ui().Form->Show();
        Viewer->Ui().Form->Activate();
        QVERIFY(QTest::qWaitForWindowActive(&Viewer->Ui().Form->Window()));
    }
    QWidget& Window() { return Viewer->Ui().Form->Window(); }
    QWidget& Area() { return ui::PaintBoxWidget(*Viewer->Ui().DrawingArea); }
    QString Title() { return QString::fromStdString(Viewer->Ui().Form->Caption()); }
    void Key(int key) { QTest::keyClick(&Window(), static_cast<Qt::Key>(key)); }
    // Every tile of the folder decoded and kept.
    bool AllKept(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!Viewer->Overview().KeptTile(i)) {
                return false;
            }
        }
        return true;
    }
    void WriteNumbered(int count) {
        for (int i = 0; i < count; ++i) {
            Dir->Write(QString("p%1.spr").arg(i, 2, 10, QChar('0')).toStdString(), Picture(i));
        }
    }

  private slots:
    void init() { Dir = std::make_unique<test_support::TempDir>(); }
    void cleanup() {
        if (Viewer != nullptr) {
            delete &Window();
            Viewer = nullptr;
        }
        Dir.reset();
    }

    // Enter shows the list with the current picture selected and names it in the title;
    // the overview takes the client area below the toolbar; Esc brings the picture back
    // as it was, and the letter commands with it.
    void EnterShowsTheFolderAndEscBringsThePictureBack() {
        for (const char* name : {"a.spr", "b.spr", "c.spr"}) {
            Dir->Write(name, Picture(1));
        }
        Dir->Write("d.rmb", std::vector<std::uint8_t>(100, 0x11));
        Open("b.spr");
        const ui::Rect pictureArea = Viewer->Ui().DrawingArea->Bounds();
        QCOMPARE(Title(), QString("Кадромир : 2/4  b.spr"));
        Key(Qt::Key_Return);
        QVERIFY(Viewer->OverviewShown());
        QCOMPARE(Title(), QString("Кадромир : 2/4  b.spr"));
        const int top = Viewer->Ui().Toolbar->Height();
        QVERIFY(top > 0);
        QCOMPARE(Viewer->Ui().DrawingArea->Bounds(),
                 (ui::Rect{0, top, Viewer->Ui().Form->ClientWidth(),
                           Viewer->Ui().Form->ClientHeight() - top}));
        QVERIFY(!Viewer->Ui().CentreAction->Enabled() && !Viewer->Ui().OpenAction->Enabled());
        Key(Qt::Key_Right);
        QCOMPARE(Title(), QString("Кадромир : 3/4  c.spr"));
        Key(Qt::Key_Escape);
        QVERIFY(!Viewer->OverviewShown());
        QCOMPARE(Title(), QString("Кадромир : 2/4  b.spr"));
        QCOMPARE(Viewer->Navigation().CurrentFile(), Dir->Path() + "b.spr");
        QCOMPARE(Viewer->Ui().DrawingArea->Bounds(), pictureArea);
        QVERIFY(Viewer->Ui().CentreAction->Enabled() && Viewer->Ui().OpenAction->Enabled());
        // The menu command does what Enter does, both ways.
        Viewer->Ui().MainMenu->Click(5);
        QVERIFY(Viewer->OverviewShown());
        Key(Qt::Key_Right);
        Viewer->Ui().MainMenu->Click(5);
        QVERIFY(!Viewer->OverviewShown());
        QCOMPARE(Viewer->Navigation().CurrentFile(), Dir->Path() + "c.spr");
        QCOMPARE(Title(), QString("Кадромир : 3/4  c.spr"));
    }

    void KeysMoveTheSelection_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("selected");
        // From p01 among 30: four columns, two rows a page.
        QTest::newRow("Right") << QList<int>{Qt::Key_Right} << 2;
        QTest::newRow("Left") << QList<int>{Qt::Key_Left} << 0;
        QTest::newRow("Left at the first stays") << QList<int>{Qt::Key_Left, Qt::Key_Left} << 0;
        QTest::newRow("Down a row") << QList<int>{Qt::Key_Down} << 5;
        QTest::newRow("Up from the first row stays") << QList<int>{Qt::Key_Up} << 1;
        QTest::newRow("End") << QList<int>{Qt::Key_End} << 29;
        QTest::newRow("End, Right stays") << QList<int>{Qt::Key_End, Qt::Key_Right} << 29;
        QTest::newRow("End, Home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
        QTest::newRow("Page Down") << QList<int>{Qt::Key_PageDown} << 9;
        QTest::newRow("End, Page Up") << QList<int>{Qt::Key_End, Qt::Key_PageUp} << 21;
        QTest::newRow("Down past the last row") << QList<int>{Qt::Key_End, Qt::Key_Down} << 29;
    }
    void KeysMoveTheSelection() {
        QFETCH(QList<int>, keys);
        QFETCH(int, selected);
        WriteNumbered(30);
        Open("p01.spr");
        Key(Qt::Key_Return);
        QCOMPARE(Viewer->Overview().Layout().Columns(), 4);
        QCOMPARE(Viewer->Overview().Layout().RowsInView(), 2);
        for (const int key : keys) {
            Key(key);
        }
        QCOMPARE(Viewer->Overview().Selected(), std::optional<std::size_t>(selected));
        QCOMPARE(Title(), QString("Кадромир : %1/30  p%2.spr")
                              .arg(selected + 1)
                              .arg(selected, 2, 10, QChar('0')));
        // The selection is in view, whole.
        const CellBounds cell =
            Viewer->Overview().Layout().Cell(selected, Viewer->Overview().ScrollPosition());
        QVERIFY(cell.Top >= 0 &&
                cell.Top + cell.Height <= Viewer->Ui().DrawingArea->Bounds().Height);
        // Enter opens it: the same road as any open, the picture view with its title.
        Key(Qt::Key_Return);
        QVERIFY(!Viewer->OverviewShown());
        QCOMPARE(Viewer->Navigation().CurrentFile(),
                 Dir->Path() + QString("p%1.spr").arg(selected, 2, 10, QChar('0')).toStdString());
        QCOMPARE(Viewer->Navigation().CurrentEntry(), std::optional<std::size_t>(selected));
    }

    // A tile is the decoder's picture at the tile's size on its own border colour, its
    // name under it; a refused file's tile says why; a tile not decoded yet is a frame.
    void TilesHoldTheDecodersPicturesBordersAndNames() {
        Dir->Write("a.spr", Picture(1));
        Dir->Write("b.spr", Picture(2));
        Dir->Write("c.rmb", std::vector<std::uint8_t>(100, 0x11));
        Dir->Write("Д.spr", Picture(3));
        Open("a.spr");
        Key(Qt::Key_Return);
        // Before any tile has come, each is an empty frame with its name.
        {
            RecordingCanvas canvas;
            Viewer->Overview().Paint(canvas);
            QVERIFY(canvas.Drawn.empty());
            QCOMPARE(canvas.FilledWith(OverviewColour::Pending), 4 * 4);
            QCOMPARE(canvas.Captions.size(), std::size_t(4));
        }
        QTRY_VERIFY(AllKept(4));
        RecordingCanvas canvas;
        Viewer->Overview().Paint(canvas);
        QCOMPARE(canvas.FilledWith(OverviewColour::Pending), 0);
        QCOMPARE(canvas.Drawn.size(), std::size_t(3));
        const Tile refused = DecodeTile(Dir->Path() + "c.rmb", 128);
        QVERIFY(refused.Refused && !refused.Refusal.empty());
        std::vector<std::string> captions;
        for (const auto& caption : canvas.Captions) {
            captions.push_back(caption.Text);
        }
        QCOMPARE(captions,
                 (std::vector<std::string>{"a.spr", "b.spr", refused.Refusal, "c.rmb", "Д.spr"}));
        // The pixels on screen.
        QTest::qWait(50); // the paint the last tile asked for
        const QImage shown = Area().grab().toImage().convertToFormat(QImage::Format_RGB32);
        const OverviewLayout& layout = Viewer->Overview().Layout();
        const char* names[] = {"a.spr", "b.spr", "c.rmb", "Д.spr"};
        for (int i = 0; i < 4; ++i) {
            const Tile tile = DecodeTile(Dir->Path() + names[i], 128);
            const CellBounds picture = layout.Picture(i, 0);
            const CellBounds cell = layout.Cell(i, 0);
            const QRgb border = shown.pixel(cell.Left + 2, cell.Top + 2);
            if (tile.Refused) {
                QCOMPARE(border, QRgb(OverviewColour::Refused));
                continue;
            }
            QCOMPARE(border, QRgb(0xFF000000u | tile.Border));
            int wrong = 0;
            for (int y = 0; y < 128; ++y) {
                for (int x = 0; x < 128; ++x) {
                    const std::uint32_t want =
                        0xFF000000u |
                        tile.Palette[tile.Indices[static_cast<std::size_t>(y * 128 + x)]];
                    wrong += shown.pixel(picture.Left + x, picture.Top + y) != want;
                }
            }
            QCOMPARE(wrong, 0);
        }
    }

    // Letters type a name: the commands on single letters give way while the overview
    // is up. + and - change the scale, which the settings keep.
    void TypeAheadAndTheScale() {
        for (const char* name : {"apple.spr", "cat.spr", "cow.spr", "ram.spr"}) {
            Dir->Write(name, Picture(1));
        }
        Open("apple.spr");
        // Away from the middle, where C would put it.
        Viewer->Ui().Form->SetOuterBounds(10, 10, 700, 600);
        QTRY_COMPARE(Viewer->Ui().Form->OuterLeft(), 10);
        Key(Qt::Key_Return);
        QTest::keyClicks(&Window(), "c");
        QCOMPARE(Title(), QString("Кадромир : 2/4  cat.spr"));
        QTest::keyClicks(&Window(), "c");
        QCOMPARE(Title(), QString("Кадромир : 3/4  cow.spr"));
        QTest::qWait(static_cast<int>(TypeAhead::PauseMs) + 100);
        QTest::keyClicks(&Window(), "ra");
        QCOMPARE(Title(), QString("Кадромир : 4/4  ram.spr"));
        QCOMPARE(Viewer->Ui().Form->OuterLeft(), 10); // C did not centre it
        QTest::qWait(static_cast<int>(TypeAhead::PauseMs) + 100);
        QTest::keyClicks(&Window(), "-");
        QCOMPARE(Viewer->Overview().Scale(), TileScale::Quarter);
        std::ifstream in(test_support::NativePath(Dir->Path() + "Кадромир.кфг"));
        const std::string saved{std::istreambuf_iterator<char>(in), {}};
        QVERIFY(saved.find("Масштаб обзора=64") != std::string::npos);
        QTest::keyClicks(&Window(), "-");
        QCOMPARE(Viewer->Overview().Scale(), TileScale::Quarter);
        Key(Qt::Key_Escape);
        delete &Window();
        // The next start takes the scale from the file.
        Open("cat.spr");
        QCOMPARE(Viewer->Overview().Scale(), TileScale::Quarter);
        Key(Qt::Key_Return);
        QTest::keyClicks(&Window(), "+");
        QTest::keyClicks(&Window(), "+");
        QCOMPARE(Viewer->Overview().Scale(), TileScale::Full);
        QCOMPARE(Viewer->Options().OverviewTileSide, 256);
    }

    // A click selects, a double click opens, the wheel scrolls.
    void TheMouse() {
        WriteNumbered(30);
        Open("p00.spr");
        Key(Qt::Key_Return);
        const OverviewLayout& layout = Viewer->Overview().Layout();
        const CellBounds sixth = layout.Cell(6, 0);
        const QPoint middle(sixth.Left + sixth.Width / 2, sixth.Top + sixth.Height / 2);
        QTest::mouseClick(&Area(), Qt::LeftButton, {}, middle);
        QCOMPARE(Viewer->Overview().Selected(), std::optional<std::size_t>(6));
        QTest::mouseClick(&Area(), Qt::LeftButton, {}, QPoint(2, 2)); // a gap
        QCOMPARE(Viewer->Overview().Selected(), std::optional<std::size_t>(6));
        QWheelEvent down(QPointF(50, 50), Area().mapToGlobal(QPointF(50, 50)), {}, {0, -240},
                         Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Area(), &down);
        QCOMPARE(Viewer->Overview().ScrollPosition(),
                 2 * (layout.CellHeight() + OverviewLayout::Gap));
        QCOMPARE(Viewer->Overview().Selected(), std::optional<std::size_t>(6));
        const CellBounds ninth = layout.Cell(9, Viewer->Overview().ScrollPosition());
        QTest::mouseDClick(&Area(), Qt::LeftButton, {},
                           QPoint(ninth.Left + ninth.Width / 2, ninth.Top + ninth.Height / 2));
        QVERIFY(!Viewer->OverviewShown());
        QCOMPARE(Viewer->Navigation().CurrentFile(), Dir->Path() + "p09.spr");
    }

    // The refresh brings new files in and takes removed ones out, the selection on its
    // file or, once that has gone, on the one now in its place.
    void TheRefreshUpdatesTheOverviewInPlace() {
        for (const char* name : {"a.spr", "b.spr", "c.spr", "d.spr"}) {
            Dir->Write(name, Picture(1));
        }
        Open("a.spr");
        Key(Qt::Key_Return);
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        QCOMPARE(Title(), QString("Кадромир : 3/4  c.spr"));
        std::filesystem::remove(test_support::NativePath(Dir->Path() + "b.spr"));
        Dir->Write("bb.spr", Picture(2));
        Dir->Write("bc.spr", Picture(3));
        Viewer->RefreshTick();
        QVERIFY(Viewer->OverviewShown());
        QCOMPARE(Title(), QString("Кадромир : 4/5  c.spr"));
        QTRY_VERIFY(AllKept(5)); // the new ones are decoded too
        // A picture rewritten under its name: its tile follows at the next refresh.
        const auto before = Viewer->Overview().KeptTile(0);
        Dir->Write("a.spr", Picture(7));
        const Tile rewritten = DecodeTile(Dir->Path() + "a.spr", 128);
        QVERIFY(before->Source->Indices != rewritten.Indices);
        Viewer->RefreshTick();
        QTRY_VERIFY(Viewer->Overview().KeptTile(0)->Source->Indices == rewritten.Indices);
        std::filesystem::remove(test_support::NativePath(Dir->Path() + "c.spr"));
        Viewer->RefreshTick();
        QCOMPARE(Title(), QString("Кадромир : 4/4  d.spr"));
        std::filesystem::remove(test_support::NativePath(Dir->Path() + "d.spr"));
        Viewer->RefreshTick();
        QCOMPARE(Title(), QString("Кадромир : 3/3  bc.spr"));
        // The picture's own title waited underneath.
        Key(Qt::Key_Escape);
        QCOMPARE(Title(), QString("Кадромир : 1/3  a.spr"));
    }

    // The slide show waits while the overview is up and goes on from the picture chosen.
    void TheSlideShowWaitsAndGoesOnFromTheChosenPicture() {
        for (const char* name : {"a.spr", "b.spr", "c.spr", "d.spr"}) {
            Dir->Write(name, Picture(1));
        }
        Open("a.spr");
        Key(Qt::Key_Return);
        Viewer->SlideTick();
        QCOMPARE(Viewer->Navigation().CurrentFile(), Dir->Path() + "a.spr");
        QCOMPARE(Title(), QString("Кадромир : 1/4  a.spr"));
        Key(Qt::Key_End);
        Key(Qt::Key_Left);
        Key(Qt::Key_Return);
        QCOMPARE(Viewer->Navigation().CurrentFile(), Dir->Path() + "c.spr");
        Viewer->SlideTick();
        QCOMPARE(Viewer->Navigation().CurrentFile(), Dir->Path() + "d.spr");
    }
};

QTEST_MAIN(FolderOverviewTest)
#include "folder_overview_test.moc"
