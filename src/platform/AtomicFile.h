#pragma once

#include <string>
#include <vector>

namespace chimewell {

/// Replaces the file at `path` with `contents` so that a crash, a kill or a full disk leaves
/// either the old or the new file: the bytes go to a temporary file in the same folder, are
/// flushed to the disk, and the temporary file is then renamed over the old one.
/// A file without write permission is refused, as the profile functions refuse it.
/// Returns false and fills `error` when anything fails; no temporary file is left behind.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string* error);

/// Removes the temporary files that a write to one of `targets` (file names in `folder`) left
/// when the program was killed; only names of the program's own pattern. Returns how many.
/// (On Linux the bytes go to an unnamed file first, so such leftovers are rare there.)
int removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& targets);

/// Reads the whole file into `contents`. Returns false when it is missing or unreadable.
bool readWholeFile(const std::string& path, std::string& contents);

} // namespace chimewell
