#include "zep2/error.h"

namespace Zep {

// The exception log needs streams; until a stream can be set, nothing is written.
void writeExceptionReport(const Exception&) {}

}  // namespace Zep
