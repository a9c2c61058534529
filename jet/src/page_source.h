#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "jet/status.h"
#include "layout.h"

namespace jet {

using PageBuffer = std::array<std::uint8_t, layout::kPageSize>;

// Where the pages of a database come from: a file (read with pread, so one source may serve
// several threads) or bytes in memory. Only whole pages count: a file whose size is not a
// multiple of 4096 is read up to its last whole page, and its tail is ignored.
class PageSource {
public:
    virtual ~PageSource() = default;

    // The name used in messages (the file path, or the name given to memory bytes).
    virtual const std::string& name() const = 0;
    virtual std::uint32_t pageCount() const = 0;
    // Size in bytes, partial last page included.
    virtual std::uint64_t byteSize() const = 0;
    virtual bool writable() const = 0;

    // Copies page `pageNumber` into `out`. Errors: corrupt for a page past the end (naming the
    // page and the page count), ioError when the system refuses the read.
    virtual Status readPage(std::uint32_t pageNumber, PageBuffer& out) const = 0;

    // Opens a file. `writable` asks for read-write access and fails when the file cannot be
    // opened for writing. Errors: notFound (no such file), ioError (any other refusal).
    static Result<std::unique_ptr<PageSource>> openFile(const std::filesystem::path& path,
                                                        bool writable);
    // Serves pages from `bytes` (read-only).
    static std::unique_ptr<PageSource> fromBytes(std::vector<std::uint8_t> bytes, std::string name);

protected:
    Status pastEnd(std::uint32_t pageNumber) const;
};

}  // namespace jet
