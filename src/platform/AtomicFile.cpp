#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace chimewell {
namespace {

// As many links as the system follows itself before it calls them a loop.
constexpr int kMaxLinks = 40;

bool flushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool replaceFile(const fs::path& from, const fs::path& to, std::error_code& ec)
{
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    return false;
#else
    fs::rename(from, to, ec);
    return !ec;
#endif
}

std::string temporaryName(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const unsigned long long mix = (static_cast<unsigned long long>(device()) << 16) ^
                                   static_cast<unsigned long long>(stamp) ^ (++counter);
    std::string name = ".";
    name += utf8FromPath(target.filename());
    name += '.';
    name += std::to_string(mix % 100000000ULL);
    name += ".tmp";
    return name;
}

#ifdef O_TMPFILE
// Writes the bytes into a file without a name, which a kill cannot leave behind, and gives it
// the temporary name only once it is complete. False (with nothing on disk) when the file
// system has no unnamed files; the caller then writes the named temporary file itself.
bool writeUnnamed(const fs::path& folder, const fs::path& temporary, const std::string& contents,
                  bool& written)
{
    // 0666 less the umask, as a new named file would get.
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    written = true;
    for (std::size_t done = 0; written && done < contents.size();) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else
            written = false;
    }
    written = written && ::fsync(fd) == 0;
    // Without /proc the file cannot be named: the caller writes a named one instead.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const bool named = !written || ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(),
                                            AT_SYMLINK_FOLLOW) == 0;
    ::close(fd);
    return named;
}
#endif

// Writes the bytes to a new file of the temporary name. False when it cannot be created.
bool writeNamed(const fs::path& temporary, const std::string& contents, bool& written)
{
    std::FILE* file = nullptr;
#ifdef _WIN32
    // The C runtime of older Windows has no "x" mode: create exclusively by hand.
    const int descriptor =
        _wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor >= 0)
        file = _fdopen(descriptor, "wb");
#else
    file = std::fopen(temporary.c_str(), "wbx");
#endif
    if (!file)
        return false;
    written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    written = flushToDisk(file) && written;
    written = std::fclose(file) == 0 && written;
    return true;
}

bool isStaleTemporary(const std::string& name, const std::vector<std::string>& targets)
{
    // ".NAME.DIGITS.tmp", as temporaryName() makes them, for one of the given names.
    constexpr std::string_view suffix = ".tmp";
    for (const std::string& target : targets) {
        const std::string prefix = "." + target + ".";
        if (name.size() <= prefix.size() + suffix.size() ||
            name.compare(0, prefix.size(), prefix) ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix))
            continue;
        const std::string digits =
            name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (digits.size() <= 8 && digits.find_first_not_of("0123456789") == std::string::npos)
            return true;
    }
    return false;
}

} // namespace

fs::path pathFromUtf8(const std::string& path)
{
    return fs::path(std::u8string(path.begin(), path.end()));
}

std::string utf8FromPath(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileStamp fileStamp(const std::string& path)
{
    FileStamp stamp;
    std::error_code ec;
    const fs::path p = pathFromUtf8(path);
    if (!fs::is_regular_file(p, ec))
        return stamp;
    stamp.exists = true;
    stamp.size = fs::file_size(p, ec);
    stamp.modifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           fs::last_write_time(p, ec).time_since_epoch())
                           .count();
#ifndef _WIN32
    struct stat info
    {
    };
    if (::stat(p.c_str(), &info) == 0)
        stamp.identity = static_cast<std::uint64_t>(info.st_ino) ^
                         (static_cast<std::uint64_t>(info.st_dev) << 32);
#endif
    return stamp;
}

int removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& targets)
{
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(pathFromUtf8(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code fileEc;
        if (it->is_regular_file(fileEc) &&
            isStaleTemporary(utf8FromPath(it->path().filename()), targets) &&
            fs::remove(it->path(), fileEc))
            ++removed;
    }
    return removed;
}

std::optional<std::string> notAnOrdinaryFile(const std::string& path)
{
    std::error_code ec;
    const fs::path p = pathFromUtf8(path);
    const auto link = fs::symlink_status(p, ec);
    if (ec || !fs::exists(link))
        return std::nullopt;
    const auto status = fs::status(p, ec);
    if (ec) {
        if (ec == std::errc::too_many_symbolic_link_levels)
            return "a loop of symbolic links";
        // A link to a file not made yet is nothing there, as a missing file is.
        if (ec == std::errc::no_such_file_or_directory)
            return std::nullopt;
        return ec.message();
    }
    switch (status.type()) {
    case fs::file_type::regular:
        return std::nullopt;
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a pipe, not a file";
    case fs::file_type::character:
    case fs::file_type::block:
        return "a device, not a file";
    case fs::file_type::socket:
        return "a socket, not a file";
    default:
        return "not an ordinary file";
    }
}

bool readWholeFile(const std::string& path, std::string& contents)
{
    std::error_code ec;
    if (!fs::is_regular_file(pathFromUtf8(path), ec))
        return false;
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in)
        return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool canWriteFile(const std::string& path, std::string* reason)
{
    auto fail = [reason](const std::string& text) {
        if (reason)
            *reason = text;
        return false;
    };
    const fs::path target = pathFromUtf8(path);
    std::error_code ec;
    const auto status = fs::status(target, ec);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return fail(path + " is not an ordinary file");
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return fail(path + " is read-only");
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec))
        return fail(utf8FromPath(folder) + " is not a folder");
    // The name of the program's own temporaries, so that a kill right here leaves nothing
    // that the next start would not clear away.
    const fs::path probe = folder / pathFromUtf8(temporaryName(target));
#ifdef _WIN32
    const int descriptor =
        _wopen(probe.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int descriptor = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
#endif
    if (descriptor < 0)
        return fail(utf8FromPath(folder) + " does not take new files (" +
                    std::generic_category().message(errno) + ")");
#ifdef _WIN32
    _close(descriptor);
#else
    ::close(descriptor);
#endif
    fs::remove(probe, ec);
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& contents, std::string* error)
{
    auto fail = [error](const std::string& text) {
        if (error)
            *error = text;
        return false;
    };

    fs::path target = pathFromUtf8(path);
    std::error_code ec;
    // Write through a symbolic link to the file it names, so that the link survives; a link to
    // a file not made yet makes it where its folder exists.
    int links = 0;
    for (; fs::is_symlink(fs::symlink_status(target, ec)); ++links) {
        if (links == kMaxLinks)
            return fail(path + " is a loop of symbolic links");
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            return fail("cannot read the symbolic link " + utf8FromPath(target));
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    if (links > 0 && target.has_parent_path() && !fs::is_directory(target.parent_path(), ec))
        return fail(path + " links to " + utf8FromPath(target) + ", whose folder does not exist");
    const auto status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status))
        return fail(path + " is not an ordinary file");
    if (exists && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return fail(path + " is read-only");

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const fs::path temporary = folder / pathFromUtf8(temporaryName(target));
    bool written = false;
    bool unnamed = false;
#ifdef O_TMPFILE
    unnamed = writeUnnamed(folder, temporary, contents, written);
#endif
    if (!unnamed && !writeNamed(temporary, contents, written))
        return fail("cannot create a file in " + utf8FromPath(folder));
    if (!written) {
        fs::remove(temporary, ec);
        return fail("cannot write " + path + " (disk full?)");
    }
    if (exists)
        fs::permissions(temporary, status.permissions(), ec);
    if (!replaceFile(temporary, target, ec)) {
        const std::string reason = ec.message();
        fs::remove(temporary, ec);
        return fail("cannot replace " + path + ": " + reason);
    }
    return true;
}

} // namespace chimewell
