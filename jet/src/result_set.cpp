#include "jet/result_set.h"

#include "layout.h"
#include "long_value.h"
#include "names.h"
#include "result_set_data.h"
#include "text_codec.h"

namespace jet {

bool ResultSetData::isLongValueColumn(std::size_t columnIndex) const {
    const std::uint8_t type = columns[columnIndex].typeCode;
    return type == layout::kTypeMemo || type == layout::kTypeOle;
}

ResultSet::ResultSet() : m_data(std::make_shared<ResultSetData>()) {}

ResultSet::ResultSet(std::shared_ptr<const ResultSetData> data) : m_data(std::move(data)) {}

const std::vector<ColumnInfo>& ResultSet::columns() const {
    return m_data->columns;
}

int ResultSet::columnIndex(std::u16string_view name) const {
    for (std::size_t i = 0; i < m_data->columns.size(); ++i)
        if (namesEqual(m_data->columns[i].name, name)) return static_cast<int>(i);
    return -1;
}

const std::u16string& ResultSet::tableName() const {
    return m_data->sourceName;
}

std::size_t ResultSet::rowCount() const {
    return m_data->locations.size();
}

RowLocation ResultSet::location(std::size_t rowIndex) const {
    return rowIndex < m_data->locations.size() ? m_data->locations[rowIndex] : RowLocation{};
}

std::uint64_t ResultSet::rowVersion(std::size_t rowIndex) const {
    return rowIndex < m_data->versions.size() ? m_data->versions[rowIndex] : 0;
}

Result<Value> ResultSet::value(std::size_t rowIndex, std::size_t columnIndex) const {
    const ResultSetData& data = *m_data;
    if (rowIndex >= data.locations.size() || columnIndex >= data.columns.size())
        return Status(StatusCode::notFound, "no cell at row " + std::to_string(rowIndex) +
                                                ", column " + std::to_string(columnIndex) + " (" +
                                                std::to_string(data.locations.size()) + " rows, " +
                                                std::to_string(data.columns.size()) + " columns)");
    const Value& cell = data.cells[rowIndex * data.columns.size() + columnIndex];
    if (!data.isLongValueColumn(columnIndex) || isNull(cell)) return cell;

    const RowLocation where = data.locations[rowIndex];
    const std::string context = "column " + toUtf8(data.columns[columnIndex].name) + ", page " +
                                std::to_string(where.pageNumber) + ", row " +
                                std::to_string(where.rowIndex) + ", table " +
                                toUtf8(data.sourceName);
    const auto& field = std::get<std::vector<std::uint8_t>>(cell);
    auto bytes = readLongValue(*data.source, field, context);
    JET_TRY(bytes);
    Value value;
    if (data.columns[columnIndex].typeCode == layout::kTypeMemo)
        value.emplace<std::u16string>(decodeText(*bytes));
    else
        value.emplace<std::vector<std::uint8_t>>(std::move(*bytes));
    return value;
}

}  // namespace jet
