// Writes a large made-up collection of the shape of kelvora.mdb, for benchmarks and scale tests.
#include <cstdlib>
#include <iostream>
#include <string>

#include "synthetic_collection.h"

int main(int argc, char* argv[]) {
    collection::SyntheticOptions options;
    std::string output;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--topics" && i + 1 < argc) {
            options.topics = std::atoi(argv[++i]);
        } else if (arg == "--no-search-table") {
            options.withSearchTable = false;
        } else if (arg == "--seed" && i + 1 < argc) {
            options.seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (positional == 0) {
            options.recordsPerTopic = static_cast<std::uint32_t>(std::strtoul(arg.c_str(), nullptr, 10));
            ++positional;
        } else if (positional == 1) {
            output = arg;
            ++positional;
        } else {
            positional = 99;
        }
    }
    if (positional != 2 || options.topics < 1 || options.topics > 6) {
        std::cerr << "usage: gen_collection RECORDS_PER_TOPIC OUTPUT.mdb [--topics 1-6] "
                     "[--no-search-table] [--seed N]\n";
        return 2;
    }
    const jet::Status status = jet::createDatabase(output, collection::syntheticCollection(options));
    if (!status.ok()) {
        std::cerr << "gen_collection: " << status.message() << "\n";
        return 1;
    }
    return 0;
}
