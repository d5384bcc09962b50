#pragma once

#include "action_target.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QToolButton;
class QWidget;

namespace kadromir::ui {

class Menu;

// The platform style's images for the toolbar.
enum class ToolbarImage { OpenFile, Back, Forward };

// A toolbar docked at the top of a client area, across its whole width: buttons with
// text beside an image, tooltips, click handlers and enabled states.
class Toolbar : public ActionTarget {
  public:
    explicit Toolbar(QWidget& client);
    ~Toolbar() override;

    int AddButton(const std::string& text, ToolbarImage image);
    int ButtonCount() const { return static_cast<int>(Buttons.size()); }

    std::string ButtonText(int index) const;
    void SetButtonText(int index, const std::string& text);
    std::string Tooltip(int index) const;
    void SetTooltip(int index, const std::string& text);
    bool IsEnabled(int index) const;
    void SetEnabled(int index, bool enabled);
    void SetOnClick(int index, std::function<void()> click);
    // Clicks a button as the user would; a disabled button ignores it.
    void Click(int index);
    QToolButton* Button(int index) const;

    // The pop-up menu shown where the user asks for a context menu on the toolbar.
    void SetContextMenu(Menu& menu);

    // Keeps the toolbar across the client's whole width, buttons side by side at
    // their own sizes from the left; buttons past the right edge are cut off.
    void FitToClient();
    QWidget& Strip() const { return *Bar; }

    void BindClick(const ActionLink& link, std::function<void()> click) override;
    void Update(const ActionLink& link, const Action& action) override;

  private:
    struct Entry {
        QToolButton* Button = nullptr;
        std::function<void()> Click;
    };
    QWidget& ClientArea;
    QWidget* Bar = nullptr;
    std::vector<std::unique_ptr<Entry>> Buttons;
};

} // namespace kadromir::ui
