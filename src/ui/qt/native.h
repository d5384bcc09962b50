#pragma once

// The Qt objects behind the window layer's controls: for the layer's own Qt code, and
// for tests that drive or read the real widgets.

class QAction;
class QDialog;
class QMenu;
class QMenuBar;
class QToolButton;
class QWidget;

namespace kadromir::ui {

class Control;
class Dialog;
class Menu;
class PaintBox;
class Toolbar;

// The item at depth-first position `index`; nullptr when out of range.
QAction* MenuItem(const Menu& menu, int index);
// The bar of a menu bar, the menu of a pop-up menu; nullptr for the other kind.
QMenuBar* MenuBarOf(const Menu& menu);
QMenu* PopupMenuOf(const Menu& menu);

// A toolbar's button; nullptr when out of range. The strip that holds the buttons.
QToolButton* ToolbarButton(const Toolbar& toolbar, int index);
QWidget& ToolbarStrip(const Toolbar& toolbar);

// Shows `menu` where the user asks for a context menu on `widget`.
void AttachContextMenu(QWidget& widget, Menu& menu);

// The widget a paint box draws on.
QWidget& PaintBoxWidget(const PaintBox& box);

// A dialog's window, and the widget of one of its controls.
QDialog& DialogWindow(const Dialog& dialog);
QWidget& ControlWidget(const Control& control);

} // namespace kadromir::ui
