#pragma once

#include <string>

namespace kadromir {

struct PictureState;

// What the navigation needs of the main window. The application implements it;
// tests fake it.
class NavigatorHost {
  public:
    virtual ~NavigatorHost() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // Enables the "Предыдущее" and "Следующее" buttons (nothing disables them again).
    virtual void EnableStepButtons() = 0;
    // Draws the picture at once, after a load.
    virtual void DrawPicture() = 0;
    // A rebuild has put in a new list (before the title is written).
    virtual void FileListRebuilt() {}
    // The picture loads go into; none once the window has closed.
    virtual PictureState* Picture() = 0;
};

} // namespace kadromir
