#include "page_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace jet {

namespace {

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

class FilePageSource final : public PageSource {
public:
    FilePageSource(int fd, std::string name, std::uint64_t byteSize, bool writable)
        : m_fd(fd),
          m_name(std::move(name)),
          m_byteSize(byteSize),
          m_pageCount(static_cast<std::uint32_t>(byteSize / layout::kPageSize)),
          m_writable(writable) {}
    ~FilePageSource() override { ::close(m_fd); }
    FilePageSource(const FilePageSource&) = delete;
    FilePageSource& operator=(const FilePageSource&) = delete;

    const std::string& name() const override { return m_name; }
    std::uint32_t pageCount() const override { return m_pageCount; }
    std::uint64_t byteSize() const override { return m_byteSize; }
    bool writable() const override { return m_writable; }

    Status readPage(std::uint32_t pageNumber, PageBuffer& out) const override {
        if (pageNumber >= m_pageCount) return pastEnd(pageNumber);
        const off_t offset = static_cast<off_t>(pageNumber) * static_cast<off_t>(layout::kPageSize);
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t got = ::pread(m_fd, out.data() + done, out.size() - done,
                                        offset + static_cast<off_t>(done));
            if (got < 0) {
                if (errno == EINTR) continue;
                return {StatusCode::ioError, "cannot read page " + std::to_string(pageNumber) +
                                                 " of " + quoted(m_name) + ": " +
                                                 std::strerror(errno)};
            }
            if (got == 0)  // the file shrank since it was opened
                return {StatusCode::ioError, "page " + std::to_string(pageNumber) + " of " +
                                                 quoted(m_name) +
                                                 " ends early (the file shrank while open)"};
            done += static_cast<std::size_t>(got);
        }
        return {};
    }

private:
    int m_fd;
    std::string m_name;
    std::uint64_t m_byteSize;
    std::uint32_t m_pageCount;
    bool m_writable;
};

class MemoryPageSource final : public PageSource {
public:
    MemoryPageSource(std::vector<std::uint8_t> bytes, std::string name)
        : m_bytes(std::move(bytes)), m_name(std::move(name)) {}

    const std::string& name() const override { return m_name; }
    std::uint32_t pageCount() const override {
        const std::size_t pages = m_bytes.size() / layout::kPageSize;
        return pages > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(pages);
    }
    std::uint64_t byteSize() const override { return m_bytes.size(); }
    bool writable() const override { return false; }

    Status readPage(std::uint32_t pageNumber, PageBuffer& out) const override {
        if (pageNumber >= pageCount()) return pastEnd(pageNumber);
        std::memcpy(out.data(),
                    m_bytes.data() + static_cast<std::size_t>(pageNumber) * layout::kPageSize,
                    out.size());
        return {};
    }

private:
    std::vector<std::uint8_t> m_bytes;
    std::string m_name;
};

}  // namespace

Status PageSource::pastEnd(std::uint32_t pageNumber) const {
    return corrupt("page " + std::to_string(pageNumber) + " is past the end of " + quoted(name()) +
                   " (" + std::to_string(pageCount()) + " pages)");
}

Result<std::unique_ptr<PageSource>> PageSource::openFile(const std::filesystem::path& path,
                                                         bool writable) {
    const std::string name = path.string();
    const int fd = ::open(name.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return Status(StatusCode::notFound, "cannot open " + quoted(name) + ": no such file");
        if (writable)
            return Status(StatusCode::ioError,
                          "cannot open " + quoted(name) + " for writing: " + std::strerror(error));
        return Status(StatusCode::ioError,
                      "cannot open " + quoted(name) + ": " + std::strerror(error));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return Status(StatusCode::ioError,
                      "cannot read the size of " + quoted(name) + ": " + std::strerror(error));
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        return Status(StatusCode::ioError, "cannot open " + quoted(name) + ": it is a folder");
    }
    const auto pages = static_cast<std::uint64_t>(info.st_size) / layout::kPageSize;
    if (pages > UINT32_MAX) {
        ::close(fd);
        return Status(StatusCode::notJet4, quoted(name) + " is too large to be a Jet 4 database");
    }
    return std::unique_ptr<PageSource>(std::make_unique<FilePageSource>(
        fd, name, static_cast<std::uint64_t>(info.st_size), writable));
}

std::unique_ptr<PageSource> PageSource::fromBytes(std::vector<std::uint8_t> bytes,
                                                  std::string name) {
    return std::make_unique<MemoryPageSource>(std::move(bytes), std::move(name));
}

}  // namespace jet
