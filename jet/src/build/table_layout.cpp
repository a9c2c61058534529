#include "build/table_layout.h"

#include <algorithm>
#include <numeric>

namespace jet::build {

std::size_t TableLayout::longValueCount() const {
    return static_cast<std::size_t>(std::count_if(
        columns.begin(), columns.end(), [](const ColumnLayout& c) { return c.longValue(); }));
}

std::size_t fixedAreaWidth(std::uint8_t type) {
    switch (type) {
        case layout::kTypeByte:
            return 1;
        case layout::kTypeInteger:
            return 2;
        case layout::kTypeLong:
        case layout::kTypeSingle:
            return 4;
        case layout::kTypeCurrency:
        case layout::kTypeDouble:
        case layout::kTypeDateTime:
            return 8;
        case layout::kTypeGuid:
            return 16;
        default:
            return 0;
    }
}

bool isFixedType(std::uint8_t type) {
    return type == layout::kTypeBoolean || fixedAreaWidth(type) > 0;
}

TableLayout makeTableLayout(std::u16string name, const std::vector<ColumnDraft>& drafts,
                            bool system) {
    TableLayout table;
    table.name = std::move(name);
    table.system = system;
    std::uint16_t nextVariable = 0;
    std::uint16_t nextFixed = 0;
    for (std::size_t i = 0; i < drafts.size(); ++i) {
        const ColumnDraft& draft = drafts[i];
        ColumnLayout column;
        column.name = draft.name;
        column.type = draft.type;
        column.number = static_cast<std::uint16_t>(i);
        column.flags = draft.flags;
        if (draft.compressible &&
            (draft.type == layout::kTypeText || draft.type == layout::kTypeMemo))
            column.extendedFlags = layout::kColumnExtFlagCompressed;
        if (isFixedType(draft.type)) {
            column.flags |= layout::kColumnFlagFixed;
            // Jet gives a fixed column the variable index that the next variable column gets.
            column.variableIndex = nextVariable;
            const std::size_t width = fixedAreaWidth(draft.type);
            column.fixedOffset = width > 0 ? nextFixed : 0;
            column.length =
                static_cast<std::uint16_t>(draft.type == layout::kTypeBoolean ? 1 : width);
            nextFixed = static_cast<std::uint16_t>(nextFixed + width);
        } else {
            column.flags = static_cast<std::uint8_t>(column.flags & ~layout::kColumnFlagFixed);
            column.variableIndex = nextVariable++;
            column.fixedOffset = layout::kColumnFixedOffsetNone;
            column.length = column.longValue() ? 0 : draft.length;
        }
        table.columns.push_back(std::move(column));
    }
    table.fixedAreaSize = nextFixed;
    table.variableCount = nextVariable;
    table.descriptorOrder.resize(table.columns.size());
    std::iota(table.descriptorOrder.begin(), table.descriptorOrder.end(), std::size_t{0});
    if (system) {
        std::stable_sort(table.descriptorOrder.begin(), table.descriptorOrder.end(),
                         [&](std::size_t a, std::size_t b) {
                             return table.columns[a].name < table.columns[b].name;
                         });
    }
    return table;
}

}  // namespace jet::build
