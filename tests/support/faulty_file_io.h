#pragma once

// A FileIo for fault injection: it passes every call to the real file system and counts the
// calls that change something on disk (write, sync, truncate, remove, syncFolder, and an open
// that may create or truncate a file). The Nth counted call can
//  - fail: it returns EIO and does nothing; later calls work again (a full disk, a bad sector);
//  - crash: a write puts only the first half of its bytes on disk, any other call does nothing,
//    and from then on every counted call does nothing and reports success, as if the process
//    had been killed at that point (opens that would create a file fail).

#include <fcntl.h>

#include <cerrno>
#include <memory>

#include "jet/file_io.h"

namespace kelvora::test {

class FaultyFileIo final : public jet::FileIo {
public:
    enum class Fault { none, fail, crash };

    FaultyFileIo(Fault fault, int at) : m_real(jet::systemFileIo()), m_fault(fault), m_at(at) {}

    // Counted calls seen so far.
    int calls() const { return m_calls; }
    bool crashed() const { return m_crashed; }
    bool fired() const { return m_fired; }

    int open(const std::filesystem::path& path, int flags, int mode, int& descriptor) override {
        if ((flags & (O_CREAT | O_TRUNC)) != 0) {
            if (m_crashed) return EIO;
            if (const int hit = strike(); hit != 0) return hit;
            if (m_crashed) return EIO;
        }
        return m_real->open(path, flags, mode, descriptor);
    }
    int close(int descriptor) override { return m_real->close(descriptor); }
    int read(int descriptor, void* buffer, std::size_t size, std::uint64_t offset,
             std::size_t& done) override {
        return m_real->read(descriptor, buffer, size, offset, done);
    }
    int write(int descriptor, const void* buffer, std::size_t size, std::uint64_t offset) override {
        if (m_crashed) return 0;
        if (const int hit = strike(); hit != 0) return hit;
        if (m_crashed) return m_real->write(descriptor, buffer, size / 2, offset);  // torn
        return m_real->write(descriptor, buffer, size, offset);
    }
    int sync(int descriptor) override {
        return passOrStrike([&] { return m_real->sync(descriptor); });
    }
    int truncate(int descriptor, std::uint64_t size) override {
        return passOrStrike([&] { return m_real->truncate(descriptor, size); });
    }
    int size(int descriptor, std::uint64_t& size) override {
        return m_real->size(descriptor, size);
    }
    int remove(const std::filesystem::path& path) override {
        return passOrStrike([&] { return m_real->remove(path); });
    }
    int exists(const std::filesystem::path& path) override { return m_real->exists(path); }
    int syncFolder(const std::filesystem::path& folder) override {
        return passOrStrike([&] { return m_real->syncFolder(folder); });
    }
    int lock(int descriptor, Lock kind, std::uint64_t offset, std::uint64_t length,
             bool wait) override {
        return m_real->lock(descriptor, kind, offset, length, wait);
    }

private:
    // Counts a call; returns EIO when it is the one to fail. Sets m_crashed when it is the one
    // to crash on (the caller then does what a dying process would).
    int strike() {
        ++m_calls;
        if (m_fault == Fault::none || m_calls != m_at) return 0;
        m_fired = true;
        if (m_fault == Fault::fail) return EIO;
        m_crashed = true;
        return 0;
    }
    template <typename Call>
    int passOrStrike(Call call) {
        if (m_crashed) return 0;
        if (const int hit = strike(); hit != 0) return hit;
        if (m_crashed) return 0;
        return call();
    }

    std::shared_ptr<jet::FileIo> m_real;
    Fault m_fault;
    int m_at;
    int m_calls = 0;
    bool m_crashed = false;
    bool m_fired = false;
};

}  // namespace kelvora::test
