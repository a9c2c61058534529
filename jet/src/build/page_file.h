#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "jet/status.h"
#include "layout.h"

namespace jet::build {

using Page = std::array<std::uint8_t, layout::kPageSize>;

// The file a build writes, page by page. Pages are numbered when allocated and may be written
// in any order (a table definition is written after its rows); commit() checks that every
// allocated page was written, flushes the file to disk and renames it over the target. Until
// then the bytes live in a temporary file beside the target, which the destructor removes, so
// a failed build never leaves a half-written database under the target's name.
class PageFile {
public:
    // Creates the temporary file in the target's folder. Errors: ioError naming the folder.
    static Result<std::unique_ptr<PageFile>> create(const std::filesystem::path& target);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // The next page number. Errors: invalidArgument when the file would pass Jet's 2 GB limit.
    Result<std::uint32_t> allocate();
    std::uint32_t pageCount() const { return static_cast<std::uint32_t>(m_written.size()); }

    // Writes one allocated page. Errors: ioError.
    Status write(std::uint32_t pageNumber, std::span<const std::uint8_t, layout::kPageSize> page);

    // Errors: ioError; a page allocated and never written is reported too (a builder fault).
    Status commit();

private:
    PageFile(std::filesystem::path target, std::filesystem::path temporary, int descriptor);
    Status ioError(const std::string& what) const;

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_descriptor = -1;
    bool m_committed = false;
    std::vector<bool> m_written;
};

}  // namespace jet::build
