#pragma once

// The system's code for a full disk, which qt_error_string words as Qt's file errors are worded:
// errno's ENOSPC, or on Windows its own ERROR_DISK_FULL, which a write to a full disk fails with.

#include <cerrno>
#ifdef _WIN32
#include <winerror.h>
#endif

namespace sumvarl::testing {

#ifdef _WIN32
inline constexpr int DiskFullCode = ERROR_DISK_FULL;
#else
inline constexpr int DiskFullCode = ENOSPC;
#endif

} // namespace sumvarl::testing
