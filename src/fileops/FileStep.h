#pragma once

#include "platform/Status.h"

#include <functional>

// Runs one step of a file operation (a copy, a deletion, a rename, clearing
// the read-only attribute). When it fails, the user is told
// "ﾌｧｲﾙが操作出来ません" and chooses Retry, which runs the step again, or
// Cancel. True when the step was done, false when the user cancelled it.
bool RunFileStep(const std::function<FsStatus()>& step);
