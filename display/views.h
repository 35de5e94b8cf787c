// The views of the control kinds, and what they share: reading a platform window's state.
#pragma once

#include <QColor>
#include <QString>
#include <memory>
#include <string>

#include "display/renderer.h"
#include "platform/win_types.h"

class QWidget;

namespace kelmor::display {

// The class name as registered ("SysTreeView32" ...).
std::string ClassName(platform::HWND hwnd);
platform::DWORD Style(platform::HWND hwnd);
QString WindowText(platform::HWND hwnd);
// A COLORREF (0x00BBGGRR) as a colour; CLR_DEFAULT and CLR_NONE give `fallback`.
QColor FromColorRef(platform::COLORREF colour, const QColor& fallback);

// Makes the view for a platform window; `parent` is the client widget of its parent's view
// (null for a top-level window).
std::unique_ptr<View> MakeView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);

// Per kind (views_*.cpp).
std::unique_ptr<View> MakeFrameView(Renderer& renderer, platform::HWND hwnd);
std::unique_ptr<View> MakeContainerView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeButtonView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeStaticView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeComboView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeTabView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeSplitterView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeEditView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeTreeView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeListView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);
std::unique_ptr<View> MakeRichEditView(Renderer& renderer, platform::HWND hwnd, QWidget* parent);

}  // namespace kelmor::display
