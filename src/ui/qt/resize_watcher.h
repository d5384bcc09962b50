#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

namespace kadromir::ui {

// Runs a function after every size change of a widget; owned by that widget.
class ResizeWatcher : public QObject {
  public:
    ResizeWatcher(QObject& watched, std::function<void()> onResize)
        : QObject(&watched), OnResize(std::move(onResize)) {
        watched.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && OnResize) {
            OnResize();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> OnResize;
};

} // namespace kadromir::ui
