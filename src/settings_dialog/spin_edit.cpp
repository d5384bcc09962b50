#include "spin_edit.h"

#include "settings/settings_store.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace kadromir {

SpinEdit& SpinEdit::CreateSpinEdit(QWidget& owner, const SpinOptions& options) {
    auto* spin = new SpinEdit(owner, options); // owned by `owner`
    spin->show();
    return *spin;
}

SpinEdit::SpinEdit(QWidget& owner, const SpinOptions& options) : QWidget(&owner), Options(options) {
    Up = new QToolButton(this);
    Down = new QToolButton(this);
    Up->setArrowType(Qt::UpArrow);
    Down->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {Up, Down}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true); // held, an arrow repeats at the platform's pace
    }
    connect(Up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(Down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void SpinEdit::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    Up->setGeometry(0, 0, width(), half);
    Down->setGeometry(0, half, width(), height() - half);
}

SpinEdit& SpinEdit::PlaceAt(int left, int top) {
    move(left, top);
    return *this;
}

SpinEdit& SpinEdit::SizeTo(int width, int height) {
    resize(width, height);
    return *this;
}

void SpinEdit::SetBuddy(QLineEdit* buddy) {
    if (BuddyField != nullptr) {
        BuddyField->removeEventFilter(this);
    }
    BuddyField = buddy;
    if (buddy == nullptr) {
        return;
    }
    if (Options.ArrowKeys) {
        buddy->installEventFilter(this);
    }
    if (Options.AlignRight) {
        // The arrows keep their width, take the buddy's height and sit at its right
        // edge; the buddy gives up that width.
        const QRect field = buddy->geometry();
        buddy->resize(field.width() - width(), field.height());
        setGeometry(field.right() + 1 - width(), field.top(), width(), field.height());
    }
}

void SpinEdit::Step(int direction) {
    if (BuddyField == nullptr) {
        return;
    }
    int position = ParseProfileInt(BuddyField->text().toStdString());
    position = std::clamp(position, static_cast<int>(Min), static_cast<int>(Max));
    int next = position + direction;
    if (next > Max) {
        next = Options.Wrap ? Min : Max;
    } else if (next < Min) {
        next = Options.Wrap ? Max : Min;
    }
    if (Options.SetBuddyInt) {
        BuddyField->setText(QString::number(next));
    }
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == BuddyField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kadromir
