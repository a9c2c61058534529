#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "jet/status.h"
#include "page_source.h"
#include "write/database_file.h"

namespace jet {

// The pages one write changes, kept in memory until commit() puts them on disk all together.
// Reads through it (it is a PageSource) see the changed pages. New pages are appended past the
// end of the file. The caller holds the file's exclusive lock from before the first read until
// commit() or the Transaction's end; a Transaction that is never committed writes nothing.
class Transaction final : public PageSource {
public:
    explicit Transaction(DatabaseFile& file);

    const std::string& name() const override { return m_file.name(); }
    std::uint32_t pageCount() const override { return m_pageCount; }
    std::uint64_t byteSize() const override {
        return std::uint64_t{m_pageCount} * layout::kPageSize;
    }
    bool writable() const override { return true; }
    Status readPage(std::uint32_t pageNumber, PageBuffer& out) const override;

    // The page to change, read on first use. Errors as readPage. The pointer stays valid for
    // the Transaction's life.
    Result<PageBuffer*> page(std::uint32_t pageNumber);
    // A new, zeroed page at the end of the file. Errors: invalidArgument past Jet's 2 GB limit.
    Result<std::uint32_t> appendPage();
    bool isNewPage(std::uint32_t pageNumber) const { return pageNumber >= m_originalPages; }

    // Writes the journal (original size + original bytes of every changed existing page) and
    // flushes it and its folder, then writes the pages and flushes the file, then invalidates
    // and removes the journal. On a failure after the journal is on disk, the original pages
    // are put back at once; when that fails too, the journal stays and the next lock taken on
    // the file (by any process) rolls it back. Errors: ioError saying what failed.
    Status commit();

private:
    Status writeJournal(const JournalImage& image);
    Status writePages();
    Status finishJournal();
    void discardJournal();

    DatabaseFile& m_file;
    std::uint64_t m_originalSize;
    std::uint32_t m_originalPages;
    std::uint32_t m_pageCount;
    std::map<std::uint32_t, std::unique_ptr<PageBuffer>> m_changed;
    std::map<std::uint32_t, std::unique_ptr<PageBuffer>> m_originals;
    int m_journal = -1;
};

}  // namespace jet
