#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// SHA-256 (FIPS 180-4) over bytes, for the salted password hashes of the user list.
namespace cfront {

using Sha256Digest = std::array<uint8_t, 32>;

// An incremental SHA-256 hash: update with bytes, then finish once.
class Sha256 {
public:
    Sha256();
    void update(std::string_view bytes);
    Sha256Digest finish();

private:
    void compress(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_block{};
    size_t m_blockSize = 0;
    uint64_t m_totalBytes = 0;
};

Sha256Digest sha256(std::string_view bytes);

} // namespace cfront
