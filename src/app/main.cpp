// Кадромир: the program's entry.
#include "viewer_window.h"

#include "ui/form.h"
#include "ui/paint_box.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kadromir::ViewerWindow& viewer = kadromir::BuildViewerWindow();
    // For start-up timing: end the run once the picture area has been painted.
    if (std::getenv("KADROMIR_QUIT_AFTER_FIRST_PAINT") != nullptr) {
        auto previous = viewer.DrawingArea->OnPaint;
        viewer.DrawingArea->OnPaint = [previous](QPainter& painter) {
            previous(painter);
            QTimer::singleShot(0, qApp, &QApplication::quit);
        };
    }
    viewer.Form->show();
    return application.exec();
}
