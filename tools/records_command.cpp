#include "tools/commands.h"

namespace travoli::tool {

int RunRecords(const Args&) { return Fail("records: not available in this build"); }
int RunChunk(const Args&) { return Fail("chunk: not available in this build"); }

}  // namespace travoli::tool
