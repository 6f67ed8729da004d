#include "results/PackedCells.h"

#include <cstring>
#include <stdexcept>

namespace {
constexpr std::size_t kWord = sizeof(std::uint32_t);
} // namespace

CPackedCells::CPackedCells(const std::vector<std::string>& cells, std::size_t count)
{
    count = std::min(count, cells.size());
    if (count == 0)
        return;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i)
        bytes += cells[i].size();
    if (bytes > UINT32_MAX)
        throw std::length_error("row of more than 4 GB");
    const std::size_t head = (count + 1) * kWord;
    m_block = std::unique_ptr<char[]>(new char[head + bytes]);
    auto* words = reinterpret_cast<std::uint32_t*>(m_block.get());
    words[0] = static_cast<std::uint32_t>(count);
    char* out = m_block.get() + head;
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(out + end, cells[i].data(), cells[i].size());
        end += static_cast<std::uint32_t>(cells[i].size());
        words[i + 1] = end;
    }
}

CPackedCells::CPackedCells(const CPackedCells& other)
{
    *this = other;
}

CPackedCells& CPackedCells::operator=(const CPackedCells& other)
{
    if (this == &other)
        return *this;
    if (!other.m_block) {
        m_block.reset();
        return *this;
    }
    const std::size_t bytes = other.blockSize();
    auto block = std::unique_ptr<char[]>(new char[bytes]);
    std::memcpy(block.get(), other.m_block.get(), bytes);
    m_block = std::move(block);
    return *this;
}

std::size_t CPackedCells::blockSize() const
{
    const std::size_t count = header()[0];
    return (count + 1) * kWord + header()[count];
}

std::size_t CPackedCells::size() const
{
    return m_block ? header()[0] : 0;
}

std::string_view CPackedCells::operator[](std::size_t i) const
{
    if (i >= size())
        return {};
    const std::uint32_t* words = header();
    const std::size_t count = words[0];
    const std::uint32_t begin = i == 0 ? 0 : words[i];
    const char* chars = m_block.get() + (count + 1) * kWord;
    return std::string_view(chars + begin, words[i + 1] - begin);
}

std::vector<std::string> CPackedCells::strings() const
{
    std::vector<std::string> out;
    out.reserve(size());
    for (std::size_t i = 0; i < size(); ++i)
        out.emplace_back((*this)[i]);
    return out;
}
