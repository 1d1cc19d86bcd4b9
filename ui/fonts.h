#pragma once

#include <QFont>

namespace travoli {

// The faces the game was drawn for are not on this desktop; these are the nearest Debian has.
// Liberation Sans keeps Arial's metrics, so texts fit their controls as designed.
QFont ArialFont(int pixelHeight, bool bold = false);
QFont SystemFont();                   // the main window's font: 13 px, bold sans
QFont DialogFont(bool bold = false);  // the dialogs' font: 11 px sans

}  // namespace travoli
