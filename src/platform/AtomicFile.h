#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace chimewell {

/// Paths are UTF-8 inside the program. On Windows a std::string path would be read in the
/// ANSI code page, so every path goes through these on its way to and from the system.
std::filesystem::path pathFromUtf8(const std::string& path);
std::string utf8FromPath(const std::filesystem::path& path);

/// Replaces the file at `path` with `contents` so that a crash, a kill or a full disk leaves
/// either the old or the new file: the bytes go to a temporary file in the same folder, are
/// flushed to the disk, and the temporary file is then renamed over the old one.
/// A file without write permission is refused, as the profile functions refuse it.
/// Returns false and fills `error` when anything fails; no temporary file is left behind.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string* error);

/// Whether `path` can be written as writeFileAtomically() writes it: the file, where it exists,
/// is an ordinary file that is not read-only, and its folder takes a new file (one is made and
/// removed at once). When not, `reason` says why, naming the file or the folder.
bool canWriteFile(const std::string& path, std::string* reason);

/// Removes the temporary files that a write to one of `targets` (file names in `folder`) left
/// when the program was killed; only names of the program's own pattern. Returns how many.
/// (On Linux the bytes go to an unnamed file first, so such leftovers are rare there.)
int removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& targets);

/// What tells one version of a file from another without reading it: size, modification
/// time to the nanosecond, and the file's identity (inode), which a replacement changes.
struct FileStamp
{
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t identity = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);

/// Why what is at `path` is no ordinary file, found without opening it (opening a pipe waits
/// for a writer): "a folder", "a pipe, not a file", "a device, not a file", "a socket, not a
/// file", "a loop of symbolic links", or the system's reason it cannot be looked at; nothing
/// for an ordinary file, or when nothing is there.
std::optional<std::string> notAnOrdinaryFile(const std::string& path);

/// Reads the whole file into `contents`. Returns false when it is missing or unreadable.
bool readWholeFile(const std::string& path, std::string& contents);

} // namespace chimewell
