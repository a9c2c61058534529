#include "jet/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace jet {

namespace {

class SystemFileIo final : public FileIo {
public:
    int open(const std::filesystem::path& path, int flags, int mode, int& descriptor) override {
        int fd = -1;
        do {
            fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) return errno;
        descriptor = fd;
        return 0;
    }

    int close(int descriptor) override { return ::close(descriptor) == 0 ? 0 : errno; }

    int read(int descriptor, void* buffer, std::size_t size, std::uint64_t offset,
             std::size_t& done) override {
        done = 0;
        auto* out = static_cast<std::uint8_t*>(buffer);
        while (done < size) {
            const ssize_t got =
                ::pread(descriptor, out + done, size - done, static_cast<off_t>(offset + done));
            if (got < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            if (got == 0) break;
            done += static_cast<std::size_t>(got);
        }
        return 0;
    }

    int write(int descriptor, const void* buffer, std::size_t size, std::uint64_t offset) override {
        const auto* in = static_cast<const std::uint8_t*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t wrote =
                ::pwrite(descriptor, in + done, size - done, static_cast<off_t>(offset + done));
            if (wrote < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += static_cast<std::size_t>(wrote);
        }
        return 0;
    }

    int sync(int descriptor) override {
        int result = 0;
        do {
            result = ::fsync(descriptor);
        } while (result != 0 && errno == EINTR);
        return result == 0 ? 0 : errno;
    }

    int truncate(int descriptor, std::uint64_t size) override {
        int result = 0;
        do {
            result = ::ftruncate(descriptor, static_cast<off_t>(size));
        } while (result != 0 && errno == EINTR);
        return result == 0 ? 0 : errno;
    }

    int size(int descriptor, std::uint64_t& size) override {
        struct stat info {};
        if (::fstat(descriptor, &info) != 0) return errno;
        size = static_cast<std::uint64_t>(info.st_size);
        return 0;
    }

    int remove(const std::filesystem::path& path) override {
        return ::unlink(path.c_str()) == 0 ? 0 : errno;
    }

    int exists(const std::filesystem::path& path) override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? 0 : errno;
    }

    int syncFolder(const std::filesystem::path& folder) override {
        int fd = -1;
        if (const int error = open(folder, O_RDONLY | O_DIRECTORY, 0, fd); error != 0) return error;
        const int error = sync(fd);
        ::close(fd);
        return error;
    }

    int lock(int descriptor, Lock kind, std::uint64_t offset, std::uint64_t length,
             bool wait) override {
        struct flock request {};
        request.l_type = kind == Lock::unlock ? F_UNLCK : kind == Lock::shared ? F_RDLCK : F_WRLCK;
        request.l_whence = SEEK_SET;
        request.l_start = static_cast<off_t>(offset);
        request.l_len = static_cast<off_t>(length);
        request.l_pid = 0;  // required for OFD locks
        int result = 0;
        do {
            result = ::fcntl(descriptor, wait ? F_OFD_SETLKW : F_OFD_SETLK, &request);
        } while (result != 0 && errno == EINTR);
        if (result == 0) return 0;
        return errno == EACCES ? EAGAIN : errno;
    }
};

}  // namespace

std::shared_ptr<FileIo> systemFileIo() {
    static const std::shared_ptr<FileIo> instance = std::make_shared<SystemFileIo>();
    return instance;
}

}  // namespace jet
