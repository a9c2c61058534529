#include "write/database_file.h"

#include <fcntl.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace jet {

namespace {

std::string quoteName(const std::string& text) {
    return "\"" + text + "\"";
}

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

}  // namespace

Result<std::shared_ptr<DatabaseFile>> DatabaseFile::open(const std::filesystem::path& path,
                                                         bool writable,
                                                         std::shared_ptr<FileIo> io) {
    const std::string name = path.string();
    int descriptor = -1;
    if (const int error = io->open(path, writable ? O_RDWR : O_RDONLY, 0, descriptor); error != 0) {
        if (error == ENOENT)
            return Status(StatusCode::notFound,
                          "cannot open " + quoteName(name) + ": no such file");
        return Status(StatusCode::ioError, "cannot open " + quoteName(name) +
                                               (writable ? " for writing: " : ": ") +
                                               std::strerror(error));
    }
    std::uint64_t size = 0;
    if (const int error = io->size(descriptor, size); error != 0) {
        io->close(descriptor);
        return Status(StatusCode::ioError,
                      "cannot read the size of " + quoteName(name) + ": " + std::strerror(error));
    }
    if (size / layout::kPageSize > UINT32_MAX) {
        io->close(descriptor);
        return Status(StatusCode::notJet4,
                      quoteName(name) + " is too large to be a Jet 4 database");
    }
    return std::shared_ptr<DatabaseFile>(
        new DatabaseFile(path, std::move(io), descriptor, writable, size));
}

DatabaseFile::DatabaseFile(std::filesystem::path path, std::shared_ptr<FileIo> io, int descriptor,
                           bool writable, std::uint64_t byteSize)
    : m_path(std::move(path)),
      m_name(m_path.string()),
      m_io(std::move(io)),
      m_descriptor(descriptor),
      m_writable(writable),
      m_byteSize(byteSize) {}

DatabaseFile::~DatabaseFile() {
    m_io->close(m_descriptor);
}

std::filesystem::path DatabaseFile::journalPath() const {
    return std::filesystem::path(m_path.string() + "-journal");
}

Status DatabaseFile::ioError(const std::string& what, int error) const {
    return {StatusCode::ioError, what + " (" + quoteName(m_name) + "): " + std::strerror(error)};
}

Status DatabaseFile::readPage(std::uint32_t pageNumber, PageBuffer& out) const {
    if (pageNumber >= pageCount()) return pastEnd(pageNumber);
    std::size_t done = 0;
    const int error = m_io->read(m_descriptor, out.data(), out.size(),
                                 std::uint64_t{pageNumber} * layout::kPageSize, done);
    if (error != 0)
        return {StatusCode::ioError, "cannot read page " + std::to_string(pageNumber) + " of " +
                                         quoteName(m_name) + ": " + std::strerror(error)};
    if (done != out.size())
        return {StatusCode::ioError, "page " + std::to_string(pageNumber) + " of " +
                                         quoteName(m_name) +
                                         " ends early (the file shrank while open)"};
    return {};
}

Status DatabaseFile::refreshSize() {
    std::uint64_t size = 0;
    if (const int error = m_io->size(m_descriptor, size); error != 0)
        return ioError("cannot read the size of the database", error);
    m_byteSize.store(size);
    return {};
}

Status DatabaseFile::lock(FileIo::Lock kind) {
    const int error =
        m_io->lock(m_descriptor, kind, kDatabaseLockOffset, kDatabaseLockLength, true);
    if (error != 0) return ioError("cannot lock the database", error);
    return {};
}

void DatabaseFile::unlock() {
    m_io->lock(m_descriptor, FileIo::Lock::unlock, kDatabaseLockOffset, kDatabaseLockLength, false);
}

Status DatabaseFile::lockShared() {
    JET_TRY(lock(FileIo::Lock::shared));
    // A writer holds the exclusive lock for as long as its journal exists, so a journal seen
    // under the shared lock was left by a writer that died or failed half-way.
    const int exists = m_io->exists(journalPath());
    if (exists == ENOENT) return refreshSize();
    unlock();
    if (exists != 0) return ioError("cannot look for the rollback journal", exists);
    if (m_writable) {
        JET_TRY(lock(FileIo::Lock::exclusive));
        const Status recovered = recoverJournal(m_descriptor);
        unlock();
        JET_TRY(recovered);
    } else {
        JET_TRY(recoverWithSecondDescriptor());
    }
    JET_TRY(lock(FileIo::Lock::shared));
    if (const Status status = refreshSize(); !status.ok()) {
        unlock();
        return status;
    }
    return {};
}

Status DatabaseFile::lockExclusive() {
    if (!m_writable) return {StatusCode::readOnly, quoteName(m_name) + " is open read-only"};
    JET_TRY(lock(FileIo::Lock::exclusive));
    Status status = recoverJournal(m_descriptor);
    if (status.ok()) status = refreshSize();
    if (!status.ok()) unlock();
    return status;
}

// A read-only open still has to put the file right before reading it: the pages a dead writer
// left half-written would otherwise be read as they are. That takes write access; without it
// the open is refused rather than showing damaged rows.
Status DatabaseFile::recoverWithSecondDescriptor() {
    int descriptor = -1;
    if (const int error = m_io->open(m_path, O_RDWR, 0, descriptor); error != 0)
        return {StatusCode::ioError,
                quoteName(m_name) + " holds a change that was cut short (its rollback journal " +
                    quoteName(journalPath().string()) +
                    " is still there) and this program may not write to the file to undo it (" +
                    std::strerror(error) +
                    "); open it once with write access so that the change can be rolled back"};
    Status status;
    if (const int error = m_io->lock(descriptor, FileIo::Lock::exclusive, kDatabaseLockOffset,
                                     kDatabaseLockLength, true);
        error != 0)
        status = ioError("cannot lock the database", error);
    else
        status = recoverJournal(descriptor);
    m_io->close(descriptor);  // closing releases its lock
    return status;
}

Status DatabaseFile::applyJournal(int descriptor, const JournalImage& image) {
    for (const auto& [pageNumber, bytes] : image.pages) {
        // Only pages that existed before the write are journalled.
        if (std::uint64_t{pageNumber} * layout::kPageSize >= image.originalSize) continue;
        if (const int error = m_io->write(descriptor, bytes.data(), bytes.size(),
                                          std::uint64_t{pageNumber} * layout::kPageSize);
            error != 0)
            return ioError(
                "cannot restore page " + std::to_string(pageNumber) + " from the rollback journal",
                error);
    }
    if (const int error = m_io->truncate(descriptor, image.originalSize); error != 0)
        return ioError("cannot cut the database back to its size before the interrupted change",
                       error);
    if (const int error = m_io->sync(descriptor); error != 0)
        return ioError("cannot flush the restored database", error);
    return {};
}

Status DatabaseFile::recoverJournal(int descriptor) {
    const std::filesystem::path journal = journalPath();
    int journalDescriptor = -1;
    if (const int error = m_io->open(journal, O_RDONLY, 0, journalDescriptor); error != 0) {
        if (error == ENOENT) return {};
        return ioError("cannot open the rollback journal " + quoteName(journal.string()), error);
    }
    std::uint64_t size = 0;
    std::vector<std::uint8_t> bytes;
    int error = m_io->size(journalDescriptor, size);
    // A journal never holds more pages than a Jet file can have; anything larger is not ours.
    constexpr std::uint64_t kLargestJournal =
        kJournalHeaderSize + std::uint64_t{layout::kMaxPages} * kJournalRecordSize +
        kJournalChecksumSize;
    if (error == 0 && size <= kLargestJournal) {
        bytes.resize(static_cast<std::size_t>(size));
        std::size_t done = 0;
        error = m_io->read(journalDescriptor, bytes.data(), bytes.size(), 0, done);
        if (error == 0) bytes.resize(done);
    }
    m_io->close(journalDescriptor);
    if (error != 0)
        return ioError("cannot read the rollback journal " + quoteName(journal.string()), error);

    if (const std::optional<JournalImage> image = JournalImage::decode(bytes))
        JET_TRY(applyJournal(descriptor, *image));
    // A torn journal was cut short before the database was touched: it only has to go.
    error = m_io->remove(journal);
    if (error != 0 && error != ENOENT)
        return ioError("cannot remove the rollback journal " + quoteName(journal.string()), error);
    m_io->syncFolder(folderOf(m_path));
    return {};
}

Status DatabaseFile::writeBytes(std::uint64_t offset, const void* bytes, std::size_t size) {
    if (const int error = m_io->write(m_descriptor, bytes, size, offset); error != 0)
        return ioError("cannot write to the database at byte " + std::to_string(offset), error);
    return {};
}

Status DatabaseFile::truncate(std::uint64_t size) {
    if (const int error = m_io->truncate(m_descriptor, size); error != 0)
        return ioError("cannot change the size of the database", error);
    return {};
}

Status DatabaseFile::sync() {
    if (const int error = m_io->sync(m_descriptor); error != 0)
        return ioError("cannot flush the database to disk", error);
    return {};
}

}  // namespace jet
