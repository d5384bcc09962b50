// The floor for start-up timing: the smallest Qt Widgets window that paints once and
// ends, started the same way as the viewer.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {
class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::black);
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }
};
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Window window;
    window.resize(286, 349);
    window.show();
    return application.exec();
}
