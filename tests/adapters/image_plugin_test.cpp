// The Qt image plugin as other programs use it: QImageReader with the plugin found on
// QT_PLUGIN_PATH, each format read as the converter writes it, a misnamed file known
// by its mark, and damaged or endless input that ends in an error, never a hang.
#include "formats/picture_bytes.h"
#include "picture_encoder.h"
#include "picture_image/picture_image.h"
#include "support/temp_dir.h"

#include <QBuffer>
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
        // The plugin's metadata names each format of the table, by key and MIME type.
        for (const auto& row : PictureFormats) {
            QVERIFY(QImageReader::supportedImageFormats().contains(
                QByteArray(row.Key.data(), row.Key.size())));
            QVERIFY(QImageReader::supportedMimeTypes().contains(
                QByteArray(row.MimeType.data(), row.MimeType.size())));
        }
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

    // A format the reader is asked for is the format; only where none is named does
    // the content tell, and then only SCR's mark, which no other format's file holds.
    void TheNamedFormatWinsAndOnlyScrIsKnownByItsMark() {
        test_support::TempDir dir;
        const auto scr = encoder::EncodeScr(Noise(5));
        const auto rmb = encoder::EncodeRmb(Palette(0x22), Noise(6));
        // A valid SPR whose bytes 16..18 read 20 00 0F: its start byte is 0x20 and the
        // stream's first bytes 00 0F.
        auto spr = encoder::EncodeSpr(Palette(0x40), Noise(8));
        spr[16] = 0x20;
        spr[17] = 0x00;
        spr[18] = 0x0F;
        dir.Write("rmb-marked.spr", spr);
        dir.Write("scr-inside.bin", scr);
        dir.Write("rmb-inside.dat", rmb);
        const struct {
            const char* Name;
            std::optional<PictureFormat> Format;
            const std::vector<std::uint8_t>& Bytes;
        } cases[] = {{"rmb-marked.spr", PictureFormat::Spr, spr},
                     {"scr-inside.bin", PictureFormat::Scr, scr},
                     {"rmb-inside.dat", std::nullopt, rmb}};
        for (const auto& c : cases) {
            QImageReader reader(QString::fromStdString(dir.Path() + c.Name));
            const QImage image = reader.read();
            QCOMPARE(image.isNull(), !c.Format.has_value());
            if (c.Format) {
                PictureState picture;
                QCOMPARE(LoadPictureBytes(*c.Format, c.Bytes, picture), LoadOutcome::Loaded);
                CompareImages(image, ConvertersImage(picture));
            }
        }
        // The same through buffers, by each key and by content alone.
        const struct {
            QByteArray Key;
            const std::vector<std::uint8_t>& Bytes;
            std::optional<PictureFormat> Format;
        } buffers[] = {{"spr", spr, PictureFormat::Spr}, {"rmb", rmb, PictureFormat::Rmb},
                       {"scr", scr, PictureFormat::Scr}, {"", scr, PictureFormat::Scr},
                       {"", rmb, std::nullopt},          {"rmb", scr, std::nullopt}};
        for (const auto& b : buffers) {
            QByteArray data(reinterpret_cast<const char*>(b.Bytes.data()),
                            static_cast<qsizetype>(b.Bytes.size()));
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, b.Key);
            const QImage image = reader.read();
            QVERIFY2(image.isNull() == !b.Format.has_value(), b.Key.constData());
            if (b.Format) {
                PictureState picture;
                QCOMPARE(LoadPictureBytes(*b.Format, b.Bytes, picture), LoadOutcome::Loaded);
                CompareImages(image, ConvertersImage(picture));
            }
        }
    }

    // The bytes are those of the file that was opened, even when its name has since
    // been given to another; the name still leads an SCR to its .pal.
    void TheOpenFileIsTheFileRead() {
        test_support::TempDir dir;
        const auto first = encoder::EncodeScr(Noise(9));
        dir.Write("pic.scr", first);
        dir.Write("pic.pal", encoder::EncodePal(Palette(0x83)));
        QFile file(QString::fromStdString(dir.Path() + "pic.scr"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(::rename((dir.Path() + "pic.scr").c_str(), (dir.Path() + "moved.scr").c_str()) ==
                0);
        dir.Write("pic.scr", encoder::EncodeScr(Noise(10)));
        QImageReader reader(&file, "scr");
        const QImage image = reader.read();
        QVERIFY(!image.isNull());
        PictureState picture;
        QCOMPARE(LoadPictureBytes(PictureFormat::Scr, first, picture, dir.Path() + "pic.scr"),
                 LoadOutcome::Loaded);
        QCOMPARE(picture.BorderColour, ColourCode{0x83});
        CompareImages(image, ConvertersImage(picture));
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
