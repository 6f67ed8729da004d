#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A row's cells in one heap block: the count, the end of every cell, then the cells' bytes one
// after the other. A list of a few hundred thousand rows keeps one allocation per row instead of
// a vector and a string per cell.
class CPackedCells {
public:
    CPackedCells() = default;
    // The first count cells of cells.
    CPackedCells(const std::vector<std::string>& cells, std::size_t count);
    CPackedCells(const CPackedCells& other);
    CPackedCells& operator=(const CPackedCells& other);
    CPackedCells(CPackedCells&&) noexcept = default;
    CPackedCells& operator=(CPackedCells&&) noexcept = default;

    std::size_t size() const;
    // Cell i; empty past the last cell.
    std::string_view operator[](std::size_t i) const;
    std::vector<std::string> strings() const;

private:
    std::unique_ptr<char[]> m_block;
    std::size_t blockSize() const;
    // Word i of the block's head: 0 the count, i the end of cell i - 1.
    std::uint32_t word(std::size_t i) const;
};
