#include "CoreTest.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace coretest {

TempDir::TempDir()
{
    std::random_device device;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("chimewell-test-" + std::to_string(device()));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            m_path = chimewell::utf8FromPath(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::permissions(chimewell::pathFromUtf8(m_path), fs::perms::owner_all, fs::perm_options::add,
                    ec);
    fs::remove_all(chimewell::pathFromUtf8(m_path), ec);
}

std::string TempDir::file(std::string_view name) const
{
    return chimewell::utf8FromPath(chimewell::pathFromUtf8(m_path) /
                                   chimewell::pathFromUtf8(std::string(name)));
}

std::string readFile(const std::string& path)
{
    std::ifstream in(chimewell::pathFromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(chimewell::pathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> listFolder(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(chimewell::pathFromUtf8(path)))
        names.push_back(chimewell::utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace coretest
