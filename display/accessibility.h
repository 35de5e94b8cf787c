// What the display tells assistive technology (screen readers, on-screen keyboards) beyond
// Qt's own accessibility of each widget: top-level windows as frames or dialogs with their
// titles, the popup menus and in-place editors shown over them, the names that the platform
// keeps for controls (platform::SetAccessibleName), and each box tied to the label before it.
#pragma once

#include <QAccessible>

#include "platform/win_types.h"

class QWidget;

namespace kelmor::display {

class Renderer;

// Installs the interfaces for the windows (once; call after the QApplication exists).
void InstallAccessibility();

// The role a widget is announced with, set before anything asks for its interface: a window's
// (QAccessible::Window, a frame, or Dialog), or a plain widget's (the splitter bar's Separator).
void SetRole(QWidget* widget, QAccessible::Role role);

// A control without a caption of its own (an edit box, a combo box, a list) is announced by
// the label just before it among its siblings: the label is made its buddy.
void TieToLabelBefore(const Renderer& renderer, platform::HWND control, QWidget* widget);

}  // namespace kelmor::display
