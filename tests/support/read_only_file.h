#pragma once

// Making a file that this process cannot write, as a file on a read-only medium or another
// user's file would be.
#include <unistd.h>

#include <filesystem>

#include "oracles.h"

namespace kelvora::test {

// Takes the write permissions away and, as root (whom permissions do not stop), sets the
// immutable flag. Returns false when the file could not be made read-only.
inline bool makeReadOnly(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (::geteuid() != 0) return true;
    int status = 0;
    runCommand("chattr +i " + shellQuote(file.string()) + " 2>/dev/null", &status);
    return status == 0;
}

// Makes the file writable again when it goes, so that its folder can be removed: declare it
// after whatever removes the folder.
class WritableAgain {
public:
    explicit WritableAgain(std::filesystem::path file) : m_file(std::move(file)) {}
    ~WritableAgain() {
        if (::geteuid() == 0)
            runCommand("chattr -i " + shellQuote(m_file.string()) + " 2>/dev/null");
        std::error_code ignored;
        std::filesystem::permissions(m_file, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
    WritableAgain(const WritableAgain&) = delete;
    WritableAgain& operator=(const WritableAgain&) = delete;

private:
    std::filesystem::path m_file;
};

}  // namespace kelvora::test
