#include "build/row_image.h"

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

bool isVariable(const ColumnLayout& column) {
    return !column.fixed();
}

}  // namespace

std::optional<std::string> encodeColumnValue(const ColumnLayout& column, const Value& value,
                                             EncodedCell& cell) {
    cell.present = false;
    cell.bytes.clear();
    cell.inlineLongValue = false;
    cell.asStored = false;
    if (isNull(value)) {
        if (column.type == layout::kTypeBoolean)
            return "a Yes/No column cannot be null (Jet stores only true or false)";
        return std::nullopt;
    }
    const auto wrongType = [&]() -> std::optional<std::string> {
        return "expected a value for a " + columnTypeName(column.type) + " column, got " +
               valueKind(value);
    };
    std::int64_t number = 0;
    const auto integerIn = [&](std::int64_t low, std::int64_t high) -> std::optional<std::string> {
        const auto* integer = std::get_if<std::int64_t>(&value);
        if (integer == nullptr) return wrongType();
        if (*integer < low || *integer > high)
            return std::to_string(*integer) + " is outside the range of a " +
                   columnTypeName(column.type) + " column (" + std::to_string(low) + " to " +
                   std::to_string(high) + ")";
        number = *integer;
        return std::nullopt;
    };

    cell.present = true;
    switch (column.type) {
        case layout::kTypeBoolean: {
            const auto* flag = std::get_if<bool>(&value);
            if (flag == nullptr) return wrongType();
            cell.present = *flag;
            return std::nullopt;
        }
        case layout::kTypeByte:
            if (auto problem = integerIn(0, 255)) return problem;
            cell.bytes.push_back(static_cast<std::uint8_t>(number));
            return std::nullopt;
        case layout::kTypeInteger:
            if (auto problem = integerIn(std::numeric_limits<std::int16_t>::min(),
                                         std::numeric_limits<std::int16_t>::max()))
                return problem;
            appendLittleEndian(cell.bytes, static_cast<std::int16_t>(number));
            return std::nullopt;
        case layout::kTypeLong:
            if (auto problem = integerIn(std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()))
                return problem;
            appendLittleEndian(cell.bytes, static_cast<std::int32_t>(number));
            return std::nullopt;
        case layout::kTypeCurrency: {
            const auto* amount = std::get_if<Currency>(&value);
            if (amount == nullptr) return wrongType();
            appendLittleEndian(cell.bytes, amount->tenThousandths);
            return std::nullopt;
        }
        case layout::kTypeSingle: {
            const auto* single = std::get_if<float>(&value);
            if (single == nullptr) return wrongType();
            appendLittleEndian(cell.bytes, *single);
            return std::nullopt;
        }
        case layout::kTypeDouble: {
            if (const auto* real = std::get_if<double>(&value))
                appendLittleEndian(cell.bytes, *real);
            else if (const auto* single = std::get_if<float>(&value))
                appendLittleEndian(cell.bytes, static_cast<double>(*single));
            else
                return wrongType();
            return std::nullopt;
        }
        case layout::kTypeDateTime: {
            const auto* date = std::get_if<DateTime>(&value);
            if (date == nullptr) return wrongType();
            if (!std::isfinite(date->days)) return "the date is not a finite number of days";
            appendLittleEndian(cell.bytes, date->days);
            return std::nullopt;
        }
        case layout::kTypeGuid: {
            const auto* guid = std::get_if<Guid>(&value);
            if (guid == nullptr) return wrongType();
            cell.bytes.assign(guid->bytes.begin(), guid->bytes.end());
            return std::nullopt;
        }
        case layout::kTypeText:
        case layout::kTypeMemo: {
            const auto* text = std::get_if<std::u16string>(&value);
            if (text == nullptr) return wrongType();
            if (column.type == layout::kTypeText && text->size() * 2 > column.length)
                return "text of " + std::to_string(text->size()) +
                       " characters is longer than the column's " +
                       std::to_string(column.length / 2);
            bool compress = column.compressible();
            // A memo too long for one LVAL row is stored as a chain, which Access never
            // compresses.
            if (column.type == layout::kTypeMemo && compress &&
                text->size() * 2 > layout::kLongValueMaxSingleRow) {
                std::vector<std::uint8_t> compressed = encodeText(*text, true);
                compress = compressed.size() <= layout::kLongValueMaxSingleRow;
            }
            if (!encodeStoredText(*text, compress, cell.bytes))
                return "text starting with U+FEFF that cannot be stored compressed would read "
                       "back wrongly";
            if (cell.bytes.size() > layout::kLongValueLengthMask)
                return "the memo is longer than Jet's limit of 1 GB";
            return std::nullopt;
        }
        case layout::kTypeBinary:
        case layout::kTypeOle: {
            const auto* data = std::get_if<std::vector<std::uint8_t>>(&value);
            if (data == nullptr) return wrongType();
            if (column.type == layout::kTypeBinary && data->size() > column.length)
                return std::to_string(data->size()) + " bytes is longer than the column's " +
                       std::to_string(column.length);
            if (data->size() > layout::kLongValueLengthMask)
                return "the value is longer than Jet's limit of 1 GB";
            cell.bytes = *data;
            return std::nullopt;
        }
        default:
            return "columns of type " + columnTypeName(column.type) + " cannot be written";
    }
}

std::size_t rowImageSize(const std::vector<ColumnLayout>& columns,
                         const std::vector<EncodedCell>& cells, const RowShape& shape) {
    std::size_t size = kColumnCountSize + shape.fixedAreaSize + nullMaskSize(shape.columnCount);
    if (shape.variableCount > 0) size += kOffsetSize * (shape.variableCount + 2);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const EncodedCell& cell = cells[i];
        if (!cell.present || !isVariable(columns[i])) continue;
        if (columns[i].longValue() && !cell.asStored)
            size +=
                layout::kLongValueDescriptorSize + (cell.inlineLongValue ? cell.bytes.size() : 0);
        else
            size += cell.bytes.size();
    }
    return size;
}

std::size_t placeLongValues(const std::vector<ColumnLayout>& columns,
                            std::vector<EncodedCell>& cells, const RowShape& shape) {
    std::vector<EncodedCell*> fresh;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EncodedCell& cell = cells[i];
        if (!columns[i].longValue() || !cell.present || cell.asStored) continue;
        cell.inlineLongValue = cell.bytes.size() <= layout::kLongValueMaxInline;
        fresh.push_back(&cell);
    }
    std::size_t size = rowImageSize(columns, cells, shape);
    // An empty value stays inline: it takes no more than its descriptor either way.
    while (size > layout::kMaxRowSize) {
        EncodedCell* largest = nullptr;
        for (EncodedCell* cell : fresh)
            if (cell->inlineLongValue && !cell->bytes.empty() &&
                (largest == nullptr || cell->bytes.size() > largest->bytes.size()))
                largest = cell;
        if (largest == nullptr) break;
        largest->inlineLongValue = false;
        size -= largest->bytes.size();
    }
    return size;
}

bool encodeRowImage(const std::vector<ColumnLayout>& columns, const std::vector<EncodedCell>& cells,
                    const RowShape& shape, std::vector<std::uint8_t>& out, std::size_t padTo) {
    const std::size_t size = rowImageSize(columns, cells, shape);
    const std::size_t total = std::max(size, padTo);
    out.assign(total, 0);
    ByteWriter writer(out);
    writer.u16(static_cast<std::uint16_t>(shape.columnCount));

    // Variable data goes in variable-index order: a reader needs the offsets to rise with it.
    std::vector<std::size_t> variables;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnLayout& column = columns[i];
        if (!isVariable(column)) {
            if (cells[i].present && column.type != layout::kTypeBoolean)
                writer.bytesAt(kColumnCountSize + column.fixedOffset, cells[i].bytes);
            continue;
        }
        if (column.variableIndex >= shape.variableCount) return false;
        variables.push_back(i);
    }
    std::sort(variables.begin(), variables.end(), [&](std::size_t a, std::size_t b) {
        return columns[a].variableIndex < columns[b].variableIndex;
    });

    // offsets[k] is where variable column k starts; a slot with no live column (a deleted
    // column) or a null value has no bytes and starts where the next one does.
    std::vector<std::uint16_t> offsets(shape.variableCount + 1, 0);
    std::vector<bool> assigned(shape.variableCount + 1, false);
    writer.seek(kColumnCountSize + shape.fixedAreaSize);
    for (const std::size_t i : variables) {
        const ColumnLayout& column = columns[i];
        const EncodedCell& cell = cells[i];
        offsets[column.variableIndex] = static_cast<std::uint16_t>(writer.position());
        assigned[column.variableIndex] = true;
        if (!cell.present) continue;
        if (column.longValue() && !cell.asStored) {
            writer.bytes(cell.descriptor);
            if (cell.inlineLongValue) writer.bytes(cell.bytes);
        } else {
            writer.bytes(cell.bytes);
        }
    }
    const std::size_t dataEnd = writer.position();
    const std::size_t padding = total - size;
    if (shape.variableCount > 0) {
        offsets[shape.variableCount] = static_cast<std::uint16_t>(dataEnd);
        assigned[shape.variableCount] = true;
        for (std::size_t k = shape.variableCount; k-- > 0;)
            if (!assigned[k]) offsets[k] = offsets[k + 1];
        writer.zeros(padding);
        writer.u16(offsets[shape.variableCount]);  // end of the variable data
        for (std::size_t k = shape.variableCount; k-- > 0;) writer.u16(offsets[k]);
        writer.u16(static_cast<std::uint16_t>(shape.variableCount));
    } else {
        writer.zeros(padding);
    }
    const std::size_t maskStart = writer.position();
    writer.zeros(nullMaskSize(shape.columnCount));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!cells[i].present) continue;
        const std::size_t bit = columns[i].number;
        if (bit >= shape.columnCount) return false;
        out[maskStart + bit / 8] =
            static_cast<std::uint8_t>(out[maskStart + bit / 8] | (1u << (bit % 8)));
    }
    return writer.ok() && writer.position() == total;
}

}  // namespace jet::build
