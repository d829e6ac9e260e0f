// The exception log: an optional stream that receives a short report block for
// every exception the program constructs. Off (null) at start.
#pragma once

#include "zep2/refcount.h"
#include "zep2/stream.h"

namespace Zep {

// Makes the stream the exception log and releases the previous one; a null
// handle switches the log off.
void setExceptionLog(SmartPtr<Stream> stream);
// A new reference to the current log stream, null when none is set.
SmartPtr<Stream> getExceptionLog();

}  // namespace Zep
