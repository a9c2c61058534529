#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace jet {

// Every system call the engine makes on a database file and its rollback journal goes through
// this interface, so that tests can replace it with one that fails or stops at a chosen call.
// Each method returns 0 on success or an errno value; none throws. Offsets and sizes are in
// bytes. Descriptors are plain POSIX file descriptors owned by the caller.
class FileIo {
public:
    enum class Lock { unlock, shared, exclusive };

    virtual ~FileIo() = default;

    // open(2) with O_CLOEXEC added; `descriptor` is set on success.
    virtual int open(const std::filesystem::path& path, int flags, int mode, int& descriptor) = 0;
    virtual int close(int descriptor) = 0;
    // Reads up to `size` bytes; `done` is set to the count read (0 at the end of the file).
    virtual int read(int descriptor, void* buffer, std::size_t size, std::uint64_t offset,
                     std::size_t& done) = 0;
    // Writes all `size` bytes (retrying short writes).
    virtual int write(int descriptor, const void* buffer, std::size_t size,
                      std::uint64_t offset) = 0;
    virtual int sync(int descriptor) = 0;
    virtual int truncate(int descriptor, std::uint64_t size) = 0;
    virtual int size(int descriptor, std::uint64_t& size) = 0;
    // ENOENT when there is nothing to remove.
    virtual int remove(const std::filesystem::path& path) = 0;
    // 0 when the path exists, ENOENT when it does not, another errno when that cannot be told.
    virtual int exists(const std::filesystem::path& path) = 0;
    // Makes the creation or removal of entries in `folder` durable.
    virtual int syncFolder(const std::filesystem::path& folder) = 0;
    // An advisory open-file-description byte-range lock (fcntl F_OFD_SETLK/F_OFD_SETLKW):
    // it is held by the descriptor, so two descriptors of one process exclude each other.
    // With `wait`, blocks until granted; without, returns EAGAIN when another holder conflicts.
    virtual int lock(int descriptor, Lock kind, std::uint64_t offset, std::uint64_t length,
                     bool wait) = 0;
};

// The real thing: POSIX calls on the local file system. Shared; safe to use from any thread.
std::shared_ptr<FileIo> systemFileIo();

}  // namespace jet
