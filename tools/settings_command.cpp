#include "tools/commands.h"

namespace travoli::tool {

int RunSettings(const Args&) { return Fail("settings: not available in this build"); }

}  // namespace travoli::tool
