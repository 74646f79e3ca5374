#pragma once

#include <string>

namespace chimewell {

/// Replaces the file at `path` with `contents` so that a crash, a kill or a full disk leaves
/// either the old or the new file: the bytes go to a temporary file in the same folder, are
/// flushed to the disk, and the temporary file is then renamed over the old one.
/// A file without write permission is refused, as the profile functions refuse it.
/// Returns false and fills `error` when anything fails; no temporary file is left behind.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string* error);

/// Reads the whole file into `contents`. Returns false when it is missing or unreadable.
bool readWholeFile(const std::string& path, std::string& contents);

} // namespace chimewell
