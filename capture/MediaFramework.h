// Brings the media framework up once per process, with the library's own element registered.
#pragma once

namespace corvane {

// False when the framework cannot start; every capture operation then refuses.
bool EnsureMediaFramework();

}  // namespace corvane
