// libFuzzer target: any bytes as a database file. Opens them (the public way, then ignoring a
// password so the rows behind one are reached too), lists the catalogue, reads every table and
// saved query and every value, and runs a LIKE filter on each text or memo column. Anything but
// rows or an error Status is a finding.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "jet/database.h"
#include "layout.h"
#include "read_all.h"
#include "sql/executor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    auto database = jet::Database::openBytes(bytes, "fuzz.mdb");
    if (database.ok()) {
        (void)(*database)->tableNames();
        (void)(*database)->queries();
    }
    auto impl = kelvora::test::openBytesIgnoringPassword(std::move(bytes), "fuzz.mdb");
    if (!impl.ok()) return 0;
    (void)kelvora::test::readEverything(**impl);

    for (const auto& table : (*impl)->catalogue().userTables()) {
        auto definition = (*impl)->tableDefinition(table);
        if (!definition.ok()) continue;
        for (const auto& column : definition->columns) {
            if (column.type != jet::layout::kTypeText && column.type != jet::layout::kTypeMemo)
                continue;
            jet::sql::SelectStatement statement{table.name,
                                                jet::sql::LikeCondition{column.name, u"%a_%"}};
            auto rows = jet::sql::execute(**impl, statement);
            if (rows.ok())
                for (std::size_t r = 0; r < rows->rowCount(); ++r) (void)rows->value(r, 0);
        }
    }
    return 0;
}
