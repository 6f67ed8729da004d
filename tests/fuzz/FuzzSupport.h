#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Helpers the harnesses share: a private scratch folder and a way to take parts from the input.
namespace fuzz {

// A folder of this process under the temporary directory, made on first use.
const std::string& scratchFolder();

// Takes the input apart from the front: a byte, or the text up to the next NUL (or the rest).
class CInput {
public:
    CInput(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size)
    {
    }
    std::uint8_t byte()
    {
        if (m_rest.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return b;
    }
    std::string_view part()
    {
        const std::size_t nul = m_rest.find('\0');
        std::string_view text = m_rest.substr(0, nul);
        m_rest.remove_prefix(nul == std::string_view::npos ? m_rest.size() : nul + 1);
        return text;
    }
    std::string_view rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

} // namespace fuzz
