#include "AtomicFile.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace chimewell {
namespace {

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
    name += target.filename().string();
    name += '.';
    name += std::to_string(mix % 100000000ULL);
    name += ".tmp";
    return name;
}

} // namespace

bool readWholeFile(const std::string& path, std::string& contents)
{
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec))
        return false;
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in)
        return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFileAtomically(const std::string& path, const std::string& contents, std::string* error)
{
    auto fail = [error](const std::string& text) {
        if (error)
            *error = text;
        return false;
    };

    fs::path target(path);
    std::error_code ec;
    // Write through a symbolic link to the file it names, so the link survives.
    if (fs::is_symlink(target, ec))
        target = fs::weakly_canonical(target, ec);
    const auto status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status))
        return fail(path + " is not an ordinary file");
    if (exists && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return fail(path + " is read-only");

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const fs::path temporary = folder / temporaryName(target);
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
        return fail("cannot create a file in " + folder.string());

    bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    written = flushToDisk(file) && written;
    written = std::fclose(file) == 0 && written;
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
