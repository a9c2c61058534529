#include "write/transaction.h"

#include <fcntl.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace jet {

namespace {

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

}  // namespace

Transaction::Transaction(DatabaseFile& file)
    : m_file(file),
      m_originalSize(file.byteSize()),
      m_originalPages(file.pageCount()),
      m_pageCount(file.pageCount()) {}

Status Transaction::readPage(std::uint32_t pageNumber, PageBuffer& out) const {
    if (pageNumber >= m_pageCount) return pastEnd(pageNumber);
    if (const auto it = m_changed.find(pageNumber); it != m_changed.end()) {
        out = *it->second;
        return {};
    }
    return m_file.readPage(pageNumber, out);
}

Result<PageBuffer*> Transaction::page(std::uint32_t pageNumber) {
    if (const auto it = m_changed.find(pageNumber); it != m_changed.end()) return it->second.get();
    if (pageNumber >= m_pageCount) return pastEnd(pageNumber);
    auto original = std::make_unique<PageBuffer>();
    JET_TRY(m_file.readPage(pageNumber, *original));
    auto copy = std::make_unique<PageBuffer>(*original);
    PageBuffer* result = copy.get();
    m_originals.emplace(pageNumber, std::move(original));
    m_changed.emplace(pageNumber, std::move(copy));
    return result;
}

Result<std::uint32_t> Transaction::appendPage() {
    if (m_pageCount >= layout::kMaxPages)
        return Status(StatusCode::invalidArgument,
                      "the database would grow past Jet's limit of 2 GB (\"" + name() + "\")");
    const std::uint32_t pageNumber = m_pageCount++;
    m_changed.emplace(pageNumber, std::make_unique<PageBuffer>());
    return pageNumber;
}

Status Transaction::writeJournal(const JournalImage& image) {
    FileIo& io = m_file.io();
    const std::filesystem::path path = m_file.journalPath();
    if (const int error = io.open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644, m_journal);
        error != 0) {
        m_journal = -1;
        return {StatusCode::ioError, "cannot create the rollback journal \"" + path.string() +
                                         "\": " + std::strerror(error)};
    }
    const std::vector<std::uint8_t> bytes = image.encode();
    int error = io.write(m_journal, bytes.data(), bytes.size(), 0);
    const char* what = "write";
    if (error == 0) {
        error = io.sync(m_journal);
        what = "flush";
    }
    // The journal only protects the file once its name is on disk too. Some file systems
    // (network shares) cannot flush a folder at all; there the journal's own flush is all
    // there is.
    if (error == 0) {
        error = io.syncFolder(folderOf(path));
        if (error == EINVAL || error == ENOTSUP) error = 0;
        what = "flush the folder of";
    }
    if (error != 0)
        return {StatusCode::ioError, std::string("cannot ") + what + " the rollback journal \"" +
                                         path.string() + "\": " + std::strerror(error)};
    return {};
}

Status Transaction::writePages() {
    for (const auto& [pageNumber, bytes] : m_changed)
        JET_TRY(m_file.writeBytes(std::uint64_t{pageNumber} * layout::kPageSize, bytes->data(),
                                  bytes->size()));
    return m_file.sync();
}

// The write counts as done once the journal no longer reads as valid on disk: after that a
// crash keeps the new pages, before it the journal brings the old ones back.
Status Transaction::finishJournal() {
    FileIo& io = m_file.io();
    const std::array<std::uint8_t, kJournalMagicSize> zeros{};
    int error = io.write(m_journal, zeros.data(), zeros.size(), 0);
    if (error == 0) error = io.sync(m_journal);
    if (error != 0)
        return {StatusCode::ioError, "cannot close the rollback journal \"" +
                                         m_file.journalPath().string() +
                                         "\": " + std::strerror(error)};
    io.close(m_journal);
    m_journal = -1;
    // An invalid journal left behind is harmless: the next writer or reader removes it.
    io.remove(m_file.journalPath());
    return {};
}

void Transaction::discardJournal() {
    FileIo& io = m_file.io();
    if (m_journal >= 0) io.close(m_journal);
    m_journal = -1;
    io.remove(m_file.journalPath());
}

Status Transaction::commit() {
    if (m_changed.empty()) return {};
    JournalImage image;
    image.originalSize = m_originalSize;
    for (const auto& [pageNumber, bytes] : m_originals)
        image.pages.emplace_back(pageNumber, *bytes);

    if (Status status = writeJournal(image); !status.ok()) {
        // Nothing in the database has changed yet.
        discardJournal();
        m_file.refreshSize();
        return status;
    }
    Status status = writePages();
    if (status.ok()) status = finishJournal();
    if (status.ok()) return m_file.refreshSize();

    // Put the old pages back now; if that fails too, the journal stays and the next lock
    // taken on the file rolls the change back.
    const Status restored = m_file.applyJournal(m_file.descriptor(), image);
    m_file.refreshSize();
    if (restored.ok()) {
        discardJournal();
        return {status.code(), status.message() + "; the database was left as it was before"};
    }
    if (m_journal >= 0) m_file.io().close(m_journal);
    m_journal = -1;
    return {status.code(), status.message() +
                               "; the change will be undone when the database is "
                               "next opened (" +
                               restored.message() + ")"};
}

}  // namespace jet
