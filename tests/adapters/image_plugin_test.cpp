// The Qt image plugin as other programs use it: QImageReader with the plugin found on
// QT_PLUGIN_PATH, each format read as the converter writes it, a misnamed file known
// by its mark, and damaged or endless input that ends in an error, never a hang.
#include "formats/picture_bytes.h"
#include "picture_encoder.h"
#include "picture_image/picture_image.h"
#include "support/temp_dir.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kadromir;

namespace {

PlaneBuffer Noise(std::uint32_t seed) {
    PlaneBuffer planes{};
    for (auto& byte : planes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return planes;
}

std::array<ColourCode, 16> Palette(ColourCode first) {
    std::array<ColourCode, 16> palette{};
    for (std::size_t i = 0; i < 16; ++i) {
        palette[i] = static_cast<ColourCode>(first + 7 * i);
    }
    return palette;
}

// What the converter writes for the picture, read back.
QImage ConvertersImage(const PictureState& picture) {
    return QImage::fromData(EncodePng(picture), "png");
}

void CompareImages(const QImage& read, const QImage& expected) {
    QCOMPARE(read.size(), QSize(256, 256));
    QCOMPARE(read.format(), QImage::Format_Indexed8);
    QCOMPARE(read.colorTable(), expected.colorTable());
    QCOMPARE(read.text("Border"), expected.text("Border"));
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            if (read.pixelIndex(x, y) != expected.pixelIndex(x, y)) {
                QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(x).arg(y)));
            }
        }
    }
}

} // namespace

class ImagePluginTest : public QObject {
    Q_OBJECT

  private slots:
    // A writer left on a pipe the reader has closed gets an error, not the signal.
    void initTestCase() { std::signal(SIGPIPE, SIG_IGN); }

    void TheThreeFormatsReadAsTheConverterWritesThem() {
        QVERIFY(QImageReader::supportedImageFormats().contains("spr"));
        test_support::TempDir dir;
        dir.Write("a.spr", encoder::EncodeSpr(Palette(0x40), Noise(1)));
        dir.Write("b.scr", encoder::EncodeScr(Noise(2)));
        dir.Write("b.pal", encoder::EncodePal(Palette(0x83)));
        dir.Write("c.scr", encoder::EncodeScr(Noise(3)));
        dir.Write("d.RMB", encoder::EncodeRmb(Palette(0x11), Noise(4)));
        for (const char* name : {"a.spr", "b.scr", "c.scr", "d.RMB"}) {
            const std::string path = dir.Path() + name;
            PictureState picture;
            QCOMPARE(LoadPicture(path, picture), LoadOutcome::Loaded);
            QImageReader reader(QString::fromStdString(path));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            CompareImages(image, ConvertersImage(picture));
        }
    }

    void AMisnamedFileIsKnownByItsMark() {
        test_support::TempDir dir;
        const auto scr = encoder::EncodeScr(Noise(5));
        const auto rmb = encoder::EncodeRmb(Palette(0x22), Noise(6));
        dir.Write("scr-inside.bin", scr);
        dir.Write("rmb-inside.dat", rmb);
        const struct {
            const char* Name;
            PictureFormat Format;
            const std::vector<std::uint8_t>& Bytes;
        } cases[] = {{"scr-inside.bin", PictureFormat::Scr, scr},
                     {"rmb-inside.dat", PictureFormat::Rmb, rmb}};
        for (const auto& c : cases) {
            QImageReader reader(QString::fromStdString(dir.Path() + c.Name));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), c.Name);
            // No name of the format, so no side file: as the bytes alone give it.
            PictureState picture;
            QCOMPARE(LoadPictureBytes(c.Format, c.Bytes, picture), LoadOutcome::Loaded);
            CompareImages(image, ConvertersImage(picture));
        }
    }

    void DamagedHugeAndEndlessInputEndsInAnError() {
        test_support::TempDir dir;
        auto truncated = encoder::EncodeScr(Noise(7));
        truncated.resize(40);
        dir.Write("short.scr", truncated);
        dir.Write("short.rmb", std::vector<std::uint8_t>(100, 0));
        dir.Write("huge.spr", {});
        QVERIFY(::truncate((dir.Path() + "huge.spr").c_str(), std::int64_t{100} << 30) == 0);
        for (const char* name : {"short.scr", "short.rmb", "huge.spr"}) {
            QImageReader reader(QString::fromStdString(dir.Path() + name));
            QVERIFY2(reader.read().isNull(), name);
        }
        // Pipes named like pictures, fed by a writer that never stops: the name's
        // reader refuses them, the device's reads only what the format can use.
        for (const char* name : {"pipe.spr", "pipe.rmb", "pipe.bin"}) {
            const std::string path = dir.Path() + name;
            QVERIFY(::mkfifo(path.c_str(), 0600) == 0);
            std::thread writer([path] {
                const int fd = ::open(path.c_str(), O_WRONLY);
                const std::vector<char> block(65536, 0x20);
                while (::write(fd, block.data(), block.size()) > 0) {
                }
                ::close(fd);
            });
            {
                QImageReader reader(QString::fromStdString(path));
                QVERIFY2(reader.read().isNull(), name);
            }
            writer.join(); // ends once the reader has closed the pipe
        }
    }
};

QTEST_MAIN(ImagePluginTest)
#include "image_plugin_test.moc"
