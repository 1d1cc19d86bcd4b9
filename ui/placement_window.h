#pragma once

#include <QWidget>

#include "settings/form_placement.h"

namespace travoli {

// The main window as the placement store sees it: its outer rectangle on the desktop, the
// desktop being the union of all screens.
// False on Wayland, where a client neither learns nor chooses where its windows are.
bool WindowPositionsKnown();

// Gives a window its client size for good: a fixed size where the window system honours it.
// A Wayland compositor ends the connection when a window keeps its size against a maximize
// it has configured, and some decorations offer one whatever the window allows; there the
// window may grow (its controls keep their places) and is put back at once.
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
