#pragma once

// Core tests use doctest: the core builds without Qt (also for Windows, where its tests run
// under Wine), so QtTest is not at hand there. Related cases are rows, named with INFO().

#include "platform/AtomicFile.h"

#include <algorithm>
#include <doctest.h>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace doctest {
template <typename T> struct StringMaker<std::optional<T>>
{
    static String convert(const std::optional<T>& v)
    {
        return v ? StringMaker<T>::convert(*v) : String("(nothing)");
    }
};
template <typename T> struct StringMaker<std::vector<T>>
{
    static String convert(const std::vector<T>& v)
    {
        String out = "{";
        for (const auto& item : v)
            out += StringMaker<T>::convert(item) + ", ";
        return out + "}";
    }
};
} // namespace doctest

namespace coretest {

namespace fs = std::filesystem;
using chimewell::pathFromUtf8;
using chimewell::utf8FromPath;

/// A fresh, empty folder under the system's temporary folder, removed at destruction.
class TempDir
{
public:
    TempDir()
        : m_path(utf8FromPath(fs::temp_directory_path() /
                              ("chimewell-test-" + std::to_string(std::random_device()()))))
    {
        fs::create_directory(pathFromUtf8(m_path));
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(pathFromUtf8(m_path), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(pathFromUtf8(m_path), ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const
    {
        return utf8FromPath(pathFromUtf8(m_path) / pathFromUtf8(std::string(name)));
    }

private:
    std::string m_path;
};

inline std::string readFile(const std::string& path)
{
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, std::string_view bytes)
{
    std::ofstream(pathFromUtf8(path), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// Names of the entries of a folder, sorted.
inline std::vector<std::string> listFolder(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pathFromUtf8(path)))
        names.push_back(utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace coretest
