#pragma once

// The separator that joins the application folder and the names of the files beside it.
// The program composes paths by plain concatenation, so this is the only place that knows it.

namespace chimewell {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

} // namespace chimewell
