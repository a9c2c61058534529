#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "jet/file_io.h"
#include "jet/status.h"
#include "page_source.h"
#include "write/journal.h"

namespace jet {

// The byte our processes lock to take turns on one database: shared for a read, exclusive for
// a write. It lies past Jet's 2 GB limit, so it is never inside a database and outside every
// range Jet itself locks (Jet's semaphores sit at (region << 28), regions 1 to 6).
inline constexpr std::uint64_t kDatabaseLockOffset = 0x80000000ULL;
inline constexpr std::uint64_t kDatabaseLockLength = 1;

// A database file on disk, read and written through a FileIo. Besides serving pages it
//  - takes the advisory lock that keeps our own processes from reading half-written rows;
//  - notices a rollback journal left by a write that was cut short and restores the file
//    from it before anyone reads (see recoverJournal);
//  - re-reads the file's size each time a lock is taken, since other processes append pages.
// One Database uses it from one thread at a time; readPage() may also be called by result
// sets reading memo values, from any thread, without a lock (long-value rows are never
// rewritten in place, so their bytes are the same before, during and after any write).
class DatabaseFile final : public PageSource {
public:
    // Opens the file (read-write or read-only). Errors: notFound, ioError naming the file.
    static Result<std::shared_ptr<DatabaseFile>> open(const std::filesystem::path& path,
                                                      bool writable, std::shared_ptr<FileIo> io);
    ~DatabaseFile() override;
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    const std::string& name() const override { return m_name; }
    std::uint32_t pageCount() const override {
        return static_cast<std::uint32_t>(m_byteSize.load() / layout::kPageSize);
    }
    std::uint64_t byteSize() const override { return m_byteSize.load(); }
    bool writable() const override { return m_writable; }
    Status readPage(std::uint32_t pageNumber, PageBuffer& out) const override;

    // Takes the shared lock, waiting for a writer to finish. A journal left behind by a write
    // that was cut short is rolled back first: with this descriptor when the file is open for
    // writing, else through a second, read-write descriptor. Errors: ioError; a hot journal on
    // a file this process cannot write is refused (ioError saying so) and nothing is read.
    Status lockShared();
    // Takes the exclusive lock (read-write files only), rolling back a hot journal first.
    Status lockExclusive();
    void unlock();

    // Writing, for a Transaction that holds the exclusive lock. Errors: ioError naming the file.
    Status writeBytes(std::uint64_t offset, const void* bytes, std::size_t size);
    Status truncate(std::uint64_t size);
    Status sync();
    // Re-reads the file's size (after writes, or when another process may have appended).
    Status refreshSize();

    FileIo& io() const { return *m_io; }
    int descriptor() const { return m_descriptor; }
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path journalPath() const;

    // Puts back the pages of a valid journal, cuts the file to its old size, flushes, and
    // removes the journal; a torn journal (see JournalImage) is only removed. `descriptor` must
    // be open for writing and hold the exclusive lock. No journal: nothing to do.
    Status recoverJournal(int descriptor);
    // Writes `image` back into the file through `descriptor` and flushes it.
    Status applyJournal(int descriptor, const JournalImage& image);

private:
    DatabaseFile(std::filesystem::path path, std::shared_ptr<FileIo> io, int descriptor,
                 bool writable, std::uint64_t byteSize);
    Status lock(FileIo::Lock kind);
    Status recoverWithSecondDescriptor();
    Status ioError(const std::string& what, int error) const;

    std::filesystem::path m_path;
    std::string m_name;
    std::shared_ptr<FileIo> m_io;
    int m_descriptor;
    bool m_writable;
    std::atomic<std::uint64_t> m_byteSize;
};

// Holds a lock on a DatabaseFile for one operation and releases it when it goes.
class FileLockGuard {
public:
    explicit FileLockGuard(DatabaseFile* file) : m_file(file) {}
    ~FileLockGuard() {
        if (m_file != nullptr) m_file->unlock();
    }
    FileLockGuard(const FileLockGuard&) = delete;
    FileLockGuard& operator=(const FileLockGuard&) = delete;

private:
    DatabaseFile* m_file;
};

}  // namespace jet
