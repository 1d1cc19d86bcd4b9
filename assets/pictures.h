#pragma once

namespace travoli {

// Registers the ":/pictures/..." resources of the static picture library; call once at start.
void InitPictures();

}  // namespace travoli
