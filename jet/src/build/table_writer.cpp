#include "build/table_writer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "build/byte_writer.h"
#include "text_codec.h"

namespace jet::build {

namespace {

constexpr std::size_t kColumnCountSize = 2;
constexpr std::size_t kOffsetSize = 2;

std::size_t nullMaskSize(std::size_t columns) {
    return (columns + 7) / 8;
}

template <typename T>
void appendLittleEndian(std::vector<std::uint8_t>& out, T value) {
    std::array<std::uint8_t, sizeof(T)> bytes{};
    ByteWriter writer(bytes);
    if constexpr (std::is_same_v<T, double>)
        writer.f64(value);
    else if constexpr (std::is_same_v<T, float>)
        writer.f32(value);
    else if constexpr (std::is_same_v<T, std::int16_t>)
        writer.i16(value);
    else if constexpr (std::is_same_v<T, std::int32_t>)
        writer.i32(value);
    else
        writer.i64(value);
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::string typeName(std::uint8_t type) {
    return columnTypeName(type);
}

// What a value holds, for messages.
std::string valueKind(const Value& value) {
    switch (value.index()) {
        case 0:
            return "null";
        case 1:
            return "a boolean";
        case 2:
            return "an integer";
        case 3:
            return "a currency amount";
        case 4:
            return "a single-precision number";
        case 5:
            return "a double";
        case 6:
            return "a date";
        case 7:
            return "a GUID";
        case 8:
            return "a decimal";
        case 9:
            return "text";
        default:
            return "binary data";
    }
}

// Text as stored; a value that would start with FF FE when stored plain is kept only if its
// compressed form reads back the same (readers take FF FE as the compression marker).
bool encodeStoredText(const std::u16string& text, bool compress, std::vector<std::uint8_t>& out) {
    if (!text.empty() && text.front() == 0xFEFF) {
        out = encodeText(text, true);
        return decodeText(out) == text;
    }
    out = encodeText(text, compress);
    return true;
}

}  // namespace

TableWriter::TableWriter(PageFile& file, const TableLayout& table, std::uint32_t tdefPage)
    : m_file(file), m_table(table), m_tdefPage(tdefPage), m_cells(table.columns.size()) {
    m_longValueRank.assign(table.columns.size(), 0);
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (!table.columns[i].longValue()) continue;
        m_longValueRank[i] = m_longValues.size();
        m_longValues.emplace_back(file);
    }
}

Status TableWriter::fail(std::uint64_t position, const ColumnLayout* column,
                         const std::string& what) const {
    std::string where = "table '" + toUtf8(m_table.name) + "', row " + std::to_string(position);
    if (column != nullptr) where += ", column '" + toUtf8(column->name) + "'";
    return {StatusCode::invalidArgument, where + ": " + what};
}

Status TableWriter::encodeCell(const ColumnLayout& column, const Value& value, Cell& cell,
                               std::uint64_t position) const {
    cell.present = false;
    cell.bytes.clear();
    cell.inlineLongValue = false;
    if (isNull(value)) {
        if (column.type == layout::kTypeBoolean)
            return fail(position, &column,
                        "a Yes/No column cannot be null (Jet stores only true or false)");
        return {};
    }
    auto wrongType = [&] {
        return fail(
            position, &column,
            "expected a value for a " + typeName(column.type) + " column, got " + valueKind(value));
    };
    auto integerIn = [&](std::int64_t low, std::int64_t high, std::int64_t& out) -> Status {
        const auto* number = std::get_if<std::int64_t>(&value);
        if (number == nullptr) return wrongType();
        if (*number < low || *number > high)
            return fail(position, &column,
                        std::to_string(*number) + " is outside the range of a " +
                            typeName(column.type) + " column (" + std::to_string(low) + " to " +
                            std::to_string(high) + ")");
        out = *number;
        return {};
    };

    cell.present = true;
    std::int64_t number = 0;
    switch (column.type) {
        case layout::kTypeBoolean: {
            const auto* flag = std::get_if<bool>(&value);
            if (flag == nullptr) return wrongType();
            cell.present = *flag;
            return {};
        }
        case layout::kTypeByte:
            JET_TRY(integerIn(0, 255, number));
            cell.bytes.push_back(static_cast<std::uint8_t>(number));
            return {};
        case layout::kTypeInteger:
            JET_TRY(integerIn(std::numeric_limits<std::int16_t>::min(),
                              std::numeric_limits<std::int16_t>::max(), number));
            appendLittleEndian(cell.bytes, static_cast<std::int16_t>(number));
            return {};
        case layout::kTypeLong:
            JET_TRY(integerIn(std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max(), number));
            appendLittleEndian(cell.bytes, static_cast<std::int32_t>(number));
            return {};
        case layout::kTypeCurrency: {
            const auto* amount = std::get_if<Currency>(&value);
            if (amount == nullptr) return wrongType();
            appendLittleEndian(cell.bytes, amount->tenThousandths);
            return {};
        }
        case layout::kTypeSingle: {
            const auto* single = std::get_if<float>(&value);
            if (single == nullptr) return wrongType();
            appendLittleEndian(cell.bytes, *single);
            return {};
        }
        case layout::kTypeDouble: {
            if (const auto* real = std::get_if<double>(&value))
                appendLittleEndian(cell.bytes, *real);
            else if (const auto* single = std::get_if<float>(&value))
                appendLittleEndian(cell.bytes, static_cast<double>(*single));
            else
                return wrongType();
            return {};
        }
        case layout::kTypeDateTime: {
            const auto* date = std::get_if<DateTime>(&value);
            if (date == nullptr) return wrongType();
            if (!std::isfinite(date->days))
                return fail(position, &column, "the date is not a finite number of days");
            appendLittleEndian(cell.bytes, date->days);
            return {};
        }
        case layout::kTypeGuid: {
            const auto* guid = std::get_if<Guid>(&value);
            if (guid == nullptr) return wrongType();
            cell.bytes.assign(guid->bytes.begin(), guid->bytes.end());
            return {};
        }
        case layout::kTypeText:
        case layout::kTypeMemo: {
            const auto* text = std::get_if<std::u16string>(&value);
            if (text == nullptr) return wrongType();
            if (column.type == layout::kTypeText && text->size() * 2 > column.length)
                return fail(position, &column,
                            "text of " + std::to_string(text->size()) +
                                " characters is longer than the column's " +
                                std::to_string(column.length / 2));
            bool compress = column.compressible();
            // A memo too long for one LVAL row is stored as a chain, which Access never compresses.
            if (column.type == layout::kTypeMemo && compress &&
                text->size() * 2 > layout::kLongValueMaxSingleRow) {
                std::vector<std::uint8_t> compressed = encodeText(*text, true);
                compress = compressed.size() <= layout::kLongValueMaxSingleRow;
            }
            if (!encodeStoredText(*text, compress, cell.bytes))
                return fail(position, &column,
                            "text starting with U+FEFF that cannot be stored compressed would read "
                            "back wrongly");
            if (cell.bytes.size() > layout::kLongValueLengthMask)
                return fail(position, &column, "the memo is longer than Jet's limit of 1 GB");
            return {};
        }
        case layout::kTypeBinary:
        case layout::kTypeOle: {
            const auto* data = std::get_if<std::vector<std::uint8_t>>(&value);
            if (data == nullptr) return wrongType();
            if (column.type == layout::kTypeBinary && data->size() > column.length)
                return fail(position, &column,
                            std::to_string(data->size()) + " bytes is longer than the column's " +
                                std::to_string(column.length));
            if (data->size() > layout::kLongValueLengthMask)
                return fail(position, &column, "the value is longer than Jet's limit of 1 GB");
            cell.bytes = *data;
            return {};
        }
        default:
            return fail(position, &column,
                        "columns of type " + typeName(column.type) + " cannot be written");
    }
}

Status TableWriter::addRow(const std::vector<Value>& row, std::uint64_t position) {
    const auto& columns = m_table.columns;
    if (row.size() != columns.size())
        return fail(position, nullptr,
                    "has " + std::to_string(row.size()) + " values for " +
                        std::to_string(columns.size()) + " columns");
    for (std::size_t i = 0; i < columns.size(); ++i)
        JET_TRY(encodeCell(columns[i], row[i], m_cells[i], position));

    // Size of the row with every long value that may stay inline kept inline.
    const std::size_t trailer =
        (m_table.variableCount > 0 ? kOffsetSize * (m_table.variableCount + 2) : 0) +
        nullMaskSize(columns.size());
    std::size_t size = kColumnCountSize + m_table.fixedAreaSize + trailer;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        Cell& cell = m_cells[i];
        if (!cell.present || columns[i].fixed()) continue;
        if (columns[i].longValue()) {
            cell.inlineLongValue = cell.bytes.size() <= layout::kLongValueMaxInline;
            size +=
                layout::kLongValueDescriptorSize + (cell.inlineLongValue ? cell.bytes.size() : 0);
        } else {
            size += cell.bytes.size();
        }
    }
    // Too long: move inline long values out of the row, largest first, until it fits. An empty
    // value stays inline: it takes no more than its descriptor either way.
    while (size > layout::kMaxRowSize) {
        Cell* largest = nullptr;
        for (Cell& cell : m_cells)
            if (cell.inlineLongValue && !cell.bytes.empty() &&
                (largest == nullptr || cell.bytes.size() > largest->bytes.size()))
                largest = &cell;
        if (largest == nullptr) break;
        largest->inlineLongValue = false;
        size -= largest->bytes.size();
    }
    if (size > layout::kMaxRowSize)
        return fail(position, nullptr,
                    "needs " + std::to_string(size) + " bytes; a Jet row holds at most " +
                        std::to_string(layout::kMaxRowSize));

    for (std::size_t i = 0; i < columns.size(); ++i) {
        Cell& cell = m_cells[i];
        if (!cell.present || !columns[i].longValue()) continue;
        if (cell.inlineLongValue) {
            cell.descriptor = inlineLongValueDescriptor(cell.bytes.size());
        } else {
            auto stored = m_longValues[m_longValueRank[i]].store(cell.bytes);
            JET_TRY(stored);
            cell.descriptor = *stored;
        }
    }

    m_row.assign(size, 0);
    ByteWriter out(m_row);
    out.u16(static_cast<std::uint16_t>(columns.size()));
    std::vector<std::uint16_t> offsets(m_table.variableCount + 1, 0);
    std::size_t variableStart = kColumnCountSize + m_table.fixedAreaSize;
    out.seek(variableStart);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnLayout& column = columns[i];
        const Cell& cell = m_cells[i];
        if (column.fixed()) {
            if (cell.present) out.bytesAt(kColumnCountSize + column.fixedOffset, cell.bytes);
            continue;
        }
        // Variable columns are numbered in col_num order, so their data follows in that order.
        offsets[column.variableIndex] = static_cast<std::uint16_t>(out.position());
        if (!cell.present) continue;
        if (column.longValue()) {
            out.bytes(cell.descriptor);
            if (cell.inlineLongValue) out.bytes(cell.bytes);
        } else {
            out.bytes(cell.bytes);
        }
    }
    if (m_table.variableCount > 0) {
        offsets[m_table.variableCount] = static_cast<std::uint16_t>(out.position());
        out.u16(offsets[m_table.variableCount]);  // end of the variable data
        for (std::size_t k = m_table.variableCount; k-- > 0;) out.u16(offsets[k]);
        out.u16(static_cast<std::uint16_t>(m_table.variableCount));
    }
    const std::size_t maskStart = out.position();
    out.zeros(nullMaskSize(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!m_cells[i].present) continue;
        const std::size_t bit = columns[i].number;
        out.u8At(maskStart + bit / 8,
                 static_cast<std::uint8_t>(m_row[maskStart + bit / 8] | (1u << (bit % 8))));
    }
    if (!out.ok() || out.position() != size)
        return fail(position, nullptr,
                    "row encoding did not match its computed size of " + std::to_string(size));

    JET_TRY(place(m_row));
    ++m_rowCount;
    return {};
}

Status TableWriter::place(const std::vector<std::uint8_t>& row) {
    if (m_page && !m_page->fits(row.size())) {
        JET_TRY(m_file.write(m_page->pageNumber(), m_page->bytes()));
        m_page.reset();
    }
    if (!m_page) {
        auto number = m_file.allocate();
        JET_TRY(number);
        m_page.emplace(*number, DataPageBuilder::ownerTable(m_tdefPage));
        m_dataPages.push_back(*number);
    }
    m_page->addRow(row);
    return {};
}

Status TableWriter::finish() {
    if (m_page) {
        JET_TRY(m_file.write(m_page->pageNumber(), m_page->bytes()));
        m_page.reset();
    }
    for (LongValueWriter& writer : m_longValues) JET_TRY(writer.finish());
    return {};
}

std::optional<std::uint32_t> TableWriter::dataTailPage() const {
    if (m_dataPages.empty()) return std::nullopt;
    return m_dataPages.back();
}

}  // namespace jet::build
