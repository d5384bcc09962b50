// The floor for start-up timing: a plain Qt window with the viewer's chrome (a menu
// bar, a toolbar of three buttons with the style's images, a status line) that loads
// a 256 x 256 PNG and paints it stretched, started the same way as the viewer.
// Usage: kadromir_minimal_window PICTURE.png
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QWidget>

namespace {
class PictureArea : public QWidget {
  public:
    explicit PictureArea(QImage image) : Picture(std::move(image)) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.drawImage(rect().adjusted(15, 15, -15, -15), Picture);
    }

  private:
    QImage Picture;
};
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Кадромир"));
    for (const char* title : {"Вид", "Настройки", "О программе"}) {
        window.menuBar()->addMenu(QString::fromUtf8(title));
    }
    QToolBar* toolbar = window.addToolBar(QStringLiteral("tools"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addAction(window.style()->standardIcon(QStyle::SP_DialogOpenButton),
                       QStringLiteral("Открыть"));
    toolbar->addAction(window.style()->standardIcon(QStyle::SP_ArrowBack),
                       QStringLiteral("Предыдущее"));
    toolbar->addAction(window.style()->standardIcon(QStyle::SP_ArrowForward),
                       QStringLiteral("Следующее"));
    window.statusBar()->showMessage(QStringLiteral("Экран: Ширина=256, Высота=279"));
    window.setCentralWidget(
        new PictureArea(QImage(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString())));
    window.resize(286, 420);
    window.show();
    return application.exec();
}
