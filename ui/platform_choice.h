#pragma once

#include <string>
#include <vector>

namespace travoli {

// The Qt platform the game asks for when the player has not chosen one: "xcb" in a Wayland
// session that offers its own X server (XWayland), where the window keeps its fixed size,
// the dialogs open over it and its position is kept; otherwise empty, and Qt decides.
// QT_QPA_PLATFORM or a -platform argument always wins.
std::string PreferredPlatform(const std::vector<std::string>& arguments);

}  // namespace travoli
