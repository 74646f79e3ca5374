#pragma once

// Core tests use doctest: the core builds without Qt (also for Windows, where its tests run
// under Wine), so QtTest is not at hand there. Related cases are rows, named with INFO().

#include <doctest.h>
#include <optional>
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

/// A fresh, empty folder under the system's temporary folder, removed at destruction.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const;

private:
    std::string m_path;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);
/// Names of the entries of a folder, sorted.
std::vector<std::string> listFolder(const std::string& path);

} // namespace coretest
