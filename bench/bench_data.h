#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "synthetic_collection.h"

namespace bench {

// Generated collections of the program's shape, made once and kept between runs in the folder
// named by KELVORA_BENCH_DATA (default: bench-data in the working directory). The largest size
// holds one topic table only: six topics and the whole-collection table at 100,000 records each
// would pass the 2 GB a Jet file may hold.
struct BenchFile {
    std::filesystem::path mdb;     // the Jet file
    std::filesystem::path sqlite;  // the same rows in SQLite
    std::uint32_t recordsPerTopic = 0;
};

const BenchFile& benchFile(std::uint32_t recordsPerTopic);

}  // namespace bench
