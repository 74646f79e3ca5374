#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace chimewell::fuzz {

/// Takes numbers and texts off the front of a fuzz input; once the input runs out it answers
/// zeros and empty texts, so every input builds something.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte()
    {
        if (m_pos >= m_size)
            return 0;
        return m_data[m_pos++];
    }
    /// A number from 0 to `limit` inclusive.
    int upTo(int limit) { return limit <= 0 ? 0 : byte() % (limit + 1); }
    bool flag() { return byte() & 1; }
    /// A text of up to `maxLength` bytes taken as they stand.
    std::string text(std::size_t maxLength)
    {
        std::size_t length = byte();
        if (length > maxLength)
            length = maxLength;
        if (length > m_size - m_pos)
            length = m_size - m_pos;
        std::string out(reinterpret_cast<const char*>(m_data + m_pos), length);
        m_pos += length;
        return out;
    }
    bool empty() const { return m_pos >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace chimewell::fuzz
