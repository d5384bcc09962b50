#include "spin_edit.h"

#include "settings/settings_store.h"
#include "ui/dialog.h"

#include <algorithm>
#include <memory>

namespace kadromir {

SpinEdit& SpinEdit::CreateSpinEdit(ui::Dialog& owner, const SpinOptions& options) {
    return owner.Own(std::unique_ptr<SpinEdit>(new SpinEdit(owner, options)));
}

SpinEdit::SpinEdit(ui::Dialog& owner, const SpinOptions& options)
    : Options(options), ArrowPair(owner.Own(std::make_unique<ui::UpDown>(owner))) {
    ArrowPair.OnStep = [this](int direction) { Step(direction); };
}

SpinEdit::~SpinEdit() {
    ArrowPair.OnStep = nullptr;
}

SpinEdit& SpinEdit::PlaceAt(int left, int top) {
    const ui::Rect bounds = ArrowPair.Bounds();
    ArrowPair.SetBounds({left, top, bounds.Width, bounds.Height});
    return *this;
}

SpinEdit& SpinEdit::SizeTo(int width, int height) {
    const ui::Rect bounds = ArrowPair.Bounds();
    ArrowPair.SetBounds({bounds.Left, bounds.Top, width, height});
    return *this;
}

ui::Rect SpinEdit::Bounds() const {
    return ArrowPair.Bounds();
}

void SpinEdit::ReleaseBuddy() {
    if (BuddyField != nullptr && Options.ArrowKeys) {
        BuddyField->OnKeyDown = std::move(BuddyKeys);
    }
    BuddyKeys = nullptr;
    BuddyField = nullptr;
}

void SpinEdit::SetBuddy(ui::EditField* buddy) {
    ReleaseBuddy();
    BuddyField = buddy;
    if (buddy == nullptr) {
        return;
    }
    if (Options.ArrowKeys) {
        BuddyKeys = buddy->OnKeyDown;
        buddy->OnKeyDown = [this](const ui::KeyEvent& event) {
            if (event.Key == ui::Key::Up || event.Key == ui::Key::Down) {
                Step(event.Key == ui::Key::Up ? +1 : -1);
                return true;
            }
            return BuddyKeys ? BuddyKeys(event) : false;
        };
    }
    if (Options.AlignRight) {
        // The arrows keep their width, take the buddy's height and sit at its right
        // edge; the buddy gives up that width.
        const ui::Rect field = buddy->Bounds();
        const int width = ArrowPair.Bounds().Width;
        buddy->SetBounds({field.Left, field.Top, field.Width - width, field.Height});
        ArrowPair.SetBounds({field.Left + field.Width - width, field.Top, width, field.Height});
    }
}

void SpinEdit::Step(int direction) {
    if (BuddyField == nullptr) {
        return;
    }
    int position = ParseProfileInt(BuddyField->Text());
    position = std::clamp(position, static_cast<int>(Min), static_cast<int>(Max));
    int next = position + direction;
    if (next > Max) {
        next = Options.Wrap ? Min : Max;
    } else if (next < Min) {
        next = Options.Wrap ? Max : Min;
    }
    if (Options.SetBuddyInt) {
        BuddyField->SetText(std::to_string(next));
    }
}

} // namespace kadromir
