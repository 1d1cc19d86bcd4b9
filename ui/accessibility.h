#pragma once

namespace travoli {

// Gives assistive technology the game's own view of its controls: the main window as a
// frame, the board's cells and the links as objects that can be pressed, the announcer as
// a notification. Once per program; later calls do nothing.
void InstallAccessibleFaces();

}  // namespace travoli
