#pragma once

#include <QWidget>

#include "settings/form_placement.h"

namespace travoli {

// The main window as the placement store sees it: its outer rectangle on the desktop, the
// desktop being the union of all screens.
// False on Wayland, where a client neither learns nor chooses where its windows are.
bool WindowPositionsKnown();

// Gives a window its client size for good. Some window managers still maximize or fullscreen
// a fixed-size window (KWin and i3 on X11, decorations drawn by Qt on Wayland); the window
// is put back at once.
void FixClientSize(QWidget* window, QSize size);

class QtPlacementWindow : public PlacementWindow {
  public:
    explicit QtPlacementWindow(QWidget* window) : window_(window) {}

    bool PositionKnown() const override;
    WindowPlacement GetWindowPlacement() const override;
    void SetWindowPlacement(const WindowPlacement& placement) override;
    DesktopRect Desktop() const override;
    std::string ClassName() const override { return "TMainForm"; }

  private:
    QWidget* window_;
};

}  // namespace travoli
