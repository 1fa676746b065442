// How the library reports a failure: a task-modal warning box without an
// owner, captioned with the library's file name.
#pragma once

namespace pixolt {

// Shows "<operation>: <reason>".
void Report(const char* operation, const char* reason);

}  // namespace pixolt
