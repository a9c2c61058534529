#include "build/page_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace jet::build {

namespace {

std::string errnoText() {
    return std::strerror(errno);
}

}  // namespace

Result<std::unique_ptr<PageFile>> PageFile::create(const std::filesystem::path& target) {
    if (target.filename().empty())
        return Status(StatusCode::invalidArgument, "\"" + target.string() + "\" names no file");
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string pattern =
        (folder / ("." + target.filename().string() + ".building-XXXXXX")).string();
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        return Status(StatusCode::ioError, "cannot create a temporary file in \"" +
                                               folder.string() + "\": " + errnoText());
    // mkstemp makes the file private to its owner; give the database the permissions of the
    // file it replaces, or the usual ones of a new document.
    mode_t mode = 0644;
    std::error_code statusError;
    const auto existing = std::filesystem::status(target, statusError);
    if (!statusError && std::filesystem::exists(existing))
        mode = static_cast<mode_t>(existing.permissions() & std::filesystem::perms::all);
    ::fchmod(descriptor, mode);
    return std::unique_ptr<PageFile>(new PageFile(target, pattern, descriptor));
}

PageFile::PageFile(std::filesystem::path target, std::filesystem::path temporary, int descriptor)
    : m_target(std::move(target)), m_temporary(std::move(temporary)), m_descriptor(descriptor) {}

PageFile::~PageFile() {
    if (m_descriptor >= 0) ::close(m_descriptor);
    if (!m_committed) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
    }
}

Status PageFile::ioError(const std::string& what) const {
    return {StatusCode::ioError, what + " (\"" + m_temporary.string() + "\", building \"" +
                                     m_target.string() + "\"): " + errnoText()};
}

Result<std::uint32_t> PageFile::allocate() {
    if (m_written.size() >= layout::kMaxPages)
        return Status(StatusCode::invalidArgument,
                      "the database would be larger than Jet's limit of 2 GB (\"" +
                          m_target.string() + "\")");
    m_written.push_back(false);
    return static_cast<std::uint32_t>(m_written.size() - 1);
}

Status PageFile::write(std::uint32_t pageNumber,
                       std::span<const std::uint8_t, layout::kPageSize> page) {
    if (pageNumber >= m_written.size())
        return {StatusCode::invalidArgument,
                "page " + std::to_string(pageNumber) + " was never allocated"};
    const off_t offset = static_cast<off_t>(pageNumber) * static_cast<off_t>(layout::kPageSize);
    std::size_t done = 0;
    while (done < page.size()) {
        const ssize_t wrote = ::pwrite(m_descriptor, page.data() + done, page.size() - done,
                                       offset + static_cast<off_t>(done));
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return ioError("cannot write page " + std::to_string(pageNumber));
        }
        done += static_cast<std::size_t>(wrote);
    }
    m_written[pageNumber] = true;
    return {};
}

Status PageFile::commit() {
    for (std::size_t page = 0; page < m_written.size(); ++page) {
        if (!m_written[page])
            return {StatusCode::invalidArgument, "page " + std::to_string(page) +
                                                     " was allocated but never written (\"" +
                                                     m_target.string() + "\")"};
    }
    if (::fsync(m_descriptor) != 0) return ioError("cannot flush the new database to disk");
    if (::close(m_descriptor) != 0) {
        m_descriptor = -1;
        return ioError("cannot close the new database");
    }
    m_descriptor = -1;
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return ioError("cannot rename the new database over its target");
    m_committed = true;
    // Make the rename itself durable; a folder that cannot be opened or synced (some network
    // file systems) leaves the file in place all the same, so this is best effort.
    const std::filesystem::path folder = m_target.has_parent_path() ? m_target.parent_path() : ".";
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return {};
}

}  // namespace jet::build
