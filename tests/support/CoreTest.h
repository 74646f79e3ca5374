#pragma once

// A small test harness for the core library. The core builds without Qt (also for Windows,
// where its tests run under Wine), so its tests cannot use QtTest; this keeps QtTest's shape:
// one executable per unit, one function per behaviour, related cases as named rows.

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace coretest {

using TestFunction = void (*)();

struct Registrar
{
    Registrar(const char* name, TestFunction function);
};

void fail(const char* file, int line, const std::string& message);
std::string& currentRow();

/// Names the row that the checks which follow belong to, for failure messages.
struct Row
{
    explicit Row(std::string_view name) { currentRow() = std::string(name); }
    ~Row() { currentRow().clear(); }
};

inline std::string show(const std::string& v)
{
    return "\"" + v + "\"";
}
inline std::string show(std::string_view v)
{
    return show(std::string(v));
}
inline std::string show(const char* v)
{
    return show(std::string(v));
}
inline std::string show(bool v)
{
    return v ? "true" : "false";
}
template <typename T> std::string show(const std::optional<T>& v)
{
    return v ? show(*v) : std::string("(nothing)");
}
template <typename T> std::string show(const std::vector<T>& v)
{
    std::string out = "{";
    for (const auto& item : v)
        out += (out.size() > 1 ? ", " : "") + show(item);
    return out + "}";
}
template <typename T> std::string show(const T& v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

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

#define CORE_TEST(name)                                                                            \
    static void name();                                                                            \
    static const coretest::Registrar name##_registrar(#name, name);                                \
    static void name()

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition))                                                                          \
            coretest::fail(__FILE__, __LINE__, "CHECK(" #condition ") failed");                    \
    } while (0)

#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        const auto& a_ = (actual);                                                                 \
        const auto& e_ = (expected);                                                               \
        if (!(a_ == e_))                                                                           \
            coretest::fail(__FILE__, __LINE__,                                                     \
                           #actual " is " + coretest::show(a_) + ", expected " +                   \
                               coretest::show(e_));                                                \
    } while (0)
