#pragma once

#include <cstdint>
#include <span>

namespace jet {

// FNV-1a, 64 bits: a row's version for optimistic locking (the hash of its stored bytes) and
// the rollback journal's checksum. Not meant to withstand deliberate collisions.
inline std::uint64_t fingerprint64(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace jet
