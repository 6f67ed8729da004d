#include "results/PackedCells.h"

#include <algorithm>
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
    const auto words = static_cast<std::uint32_t>(count);
    std::memcpy(m_block.get(), &words, kWord);
    char* out = m_block.get() + head;
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(out + end, cells[i].data(), cells[i].size());
        end += static_cast<std::uint32_t>(cells[i].size());
        std::memcpy(m_block.get() + (i + 1) * kWord, &end, kWord);
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

std::uint32_t CPackedCells::word(std::size_t i) const
{
    std::uint32_t value = 0;
    std::memcpy(&value, m_block.get() + i * kWord, kWord);
    return value;
}

std::size_t CPackedCells::blockSize() const
{
    const std::size_t count = word(0);
    return (count + 1) * kWord + word(count);
}

std::size_t CPackedCells::size() const
{
    return m_block ? word(0) : 0;
}

std::string_view CPackedCells::operator[](std::size_t i) const
{
    const std::size_t count = size();
    if (i >= count)
        return {};
    const std::uint32_t begin = i == 0 ? 0 : word(i);
    const char* chars = m_block.get() + (count + 1) * kWord;
    return std::string_view(chars + begin, word(i + 1) - begin);
}

std::vector<std::string> CPackedCells::strings() const
{
    std::vector<std::string> out;
    out.reserve(size());
    for (std::size_t i = 0; i < size(); ++i)
        out.emplace_back((*this)[i]);
    return out;
}
