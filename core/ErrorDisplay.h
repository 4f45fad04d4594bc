#pragma once

#include "VbError.h"

#include <functional>

// The common end of every error handler: shows the failure of the task under way (CurrentTask).
// The error window installs itself here; until then the failure is shown as a message box.
void ShowErrorDisplay(const VbError& error);

using ErrorDisplayHandler = std::function<void(const VbError&)>;
void SetErrorDisplayHandler(ErrorDisplayHandler handler);
