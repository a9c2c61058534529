#include "row_codec.h"

#include "data_page.h"
#include "layout.h"
#include "text_codec.h"

namespace jet {

std::string RowWhere::text() const {
    std::string out = "page " + std::to_string(pageNumber) + ", row " + std::to_string(rowIndex);
    if (table != nullptr) out += ", table " + toUtf8(*table);
    return out;
}

Result<RowView> RowView::open(std::span<const std::uint8_t> row, const TableDefinition& table,
                              const RowWhere& where) {
    RowView view;
    view.m_row = ByteReader(row);
    const ByteReader& in = view.m_row;
    if (!in.u16At(layout::kRowColumnCount, view.m_columnCount))
        return corrupt("row of " + std::to_string(row.size()) +
                       " bytes is shorter than its header (" + where.text() + ")");
    const std::size_t maskSize = (std::size_t{view.m_columnCount} + 7) / 8;
    if (maskSize > row.size() - layout::kRowFixedArea)
        return corrupt("row of " + std::to_string(row.size()) +
                       " bytes cannot hold the null mask of " + std::to_string(view.m_columnCount) +
                       " columns (" + where.text() + ")");
    view.m_maskStart = row.size() - maskSize;
    view.m_fixedEnd = view.m_maskStart;
    if (table.variableColumnCount == 0) return view;

    // Trailer, read backwards from the null mask: variable column count, its offsets (index 0
    // nearest), then the end of the variable data.
    std::uint16_t variableCount = 0;
    if (view.m_maskStart < layout::kRowFixedArea + layout::kRowTrailerField ||
        !in.u16At(view.m_maskStart - layout::kRowTrailerField, variableCount))
        return corrupt("row of " + std::to_string(row.size()) +
                       " bytes is too short for its variable column count (" + where.text() + ")");
    // The count, one offset per variable column, and the end of the data.
    const std::size_t trailerSize = layout::kRowTrailerField * (std::size_t{variableCount} + 2);
    if (trailerSize > view.m_maskStart - layout::kRowFixedArea)
        return corrupt("row claims " + std::to_string(variableCount) +
                       " variable columns, more than its " + std::to_string(row.size()) +
                       " bytes hold (" + where.text() + ")");
    view.m_variableCount = variableCount;
    view.m_fixedEnd = view.m_maskStart - trailerSize;
    // Every variable value must lie between the column count and the trailer, in order.
    std::size_t previous = layout::kRowFixedArea;
    for (std::size_t k = 0; k <= variableCount; ++k) {
        std::uint16_t offset = 0;
        in.u16At(view.variableOffsetPosition(k), offset);
        if (offset < previous || offset > view.m_fixedEnd)
            return corrupt("variable column offset " + hexOffset(offset) +
                           (k == variableCount ? std::string(" (end of data)")
                                               : " of column " + std::to_string(k)) +
                           " out of range " + hexOffset(previous) + ".." +
                           hexOffset(view.m_fixedEnd) + " (" + where.text() + ")");
        previous = offset;
    }
    return view;
}

Result<FieldBytes> RowView::field(const ColumnDefinition& column, const RowWhere& where) const {
    FieldBytes out;
    if (column.number >= m_columnCount) return out;
    std::uint8_t maskByte = 0;
    m_row.u8At(m_maskStart + column.number / 8, maskByte);
    const bool bit = (maskByte >> (column.number % 8)) & 1;
    if (column.type == layout::kTypeBoolean) {
        out.null = false;
        out.boolValue = bit;
        return out;
    }
    if (!bit) return out;
    if (column.isFixed()) {
        const std::size_t start = layout::kRowFixedArea + std::size_t{column.fixedOffset};
        const std::size_t size = column.fixedSize();
        if (start > m_fixedEnd || size > m_fixedEnd - start)
            return corrupt("fixed column " + toUtf8(column.name) + " at " + hexOffset(start) +
                           " runs past the fixed area (" + hexOffset(m_fixedEnd) + ", " +
                           where.text() + ")");
        out.null = false;
        m_row.bytesAt(start, size, out.bytes);
        return out;
    }
    if (column.variableIndex >= m_variableCount) return out;
    std::uint16_t start = 0;
    std::uint16_t end = 0;
    m_row.u16At(variableOffsetPosition(column.variableIndex), start);
    m_row.u16At(variableOffsetPosition(std::size_t{column.variableIndex} + 1), end);
    out.null = false;
    m_row.bytesAt(start, std::size_t{end} - start, out.bytes);  // checked in open()
    return out;
}

namespace {

Status wrongSize(const ColumnDefinition& column, std::size_t size, const RowWhere& where) {
    return corrupt("value of " + std::to_string(size) + " bytes does not fit column " +
                   toUtf8(column.name) + " (" + columnTypeName(column.type) + ", " + where.text() +
                   ")");
}

}  // namespace

Result<Value> decodeField(const ColumnDefinition& column, const FieldBytes& field,
                          const RowWhere& where) {
    if (column.type == layout::kTypeBoolean) return Value(field.boolValue);
    if (field.null) return Value(Null{});
    const ByteReader in(field.bytes);
    const std::size_t size = field.bytes.size();
    switch (column.type) {
        case layout::kTypeByte: {
            std::uint8_t v = 0;
            if (size != sizeof v || !in.u8At(0, v)) return wrongSize(column, size, where);
            return Value(std::int64_t{v});
        }
        case layout::kTypeInteger: {
            std::int16_t v = 0;
            if (size != sizeof v || !in.i16At(0, v)) return wrongSize(column, size, where);
            return Value(std::int64_t{v});
        }
        case layout::kTypeLong: {
            std::int32_t v = 0;
            if (size != sizeof v || !in.i32At(0, v)) return wrongSize(column, size, where);
            return Value(std::int64_t{v});
        }
        case layout::kTypeCurrency: {
            std::int64_t v = 0;
            if (size != sizeof v || !in.i64At(0, v)) return wrongSize(column, size, where);
            return Value(Currency{v});
        }
        case layout::kTypeSingle: {
            float v = 0;
            if (size != sizeof v || !in.f32At(0, v)) return wrongSize(column, size, where);
            return Value(v);
        }
        case layout::kTypeDouble: {
            double v = 0;
            if (size != sizeof v || !in.f64At(0, v)) return wrongSize(column, size, where);
            return Value(v);
        }
        case layout::kTypeDateTime: {
            double v = 0;
            if (size != sizeof v || !in.f64At(0, v)) return wrongSize(column, size, where);
            return Value(DateTime{v});
        }
        case layout::kTypeGuid: {
            if (size != layout::kGuidSize) return wrongSize(column, size, where);
            Guid guid;
            for (std::size_t i = 0; i < layout::kGuidSize; ++i) guid.bytes[i] = field.bytes[i];
            return Value(guid);
        }
        case layout::kTypeDecimal: {
            // Sign byte, then the 128-bit magnitude as four 32-bit words, most significant first.
            if (size != layout::kDecimalSize) return wrongSize(column, size, where);
            Decimal decimal;
            decimal.negative = (field.bytes[0] & layout::kDecimalNegative) != 0;
            decimal.scale = column.scale;
            for (std::size_t word = 0; word < 4; ++word)
                in.u32At(layout::kDecimalMagnitude + 4 * word, decimal.magnitude[3 - word]);
            return Value(decimal);
        }
        case layout::kTypeText:
            return Value(decodeText(field.bytes));
        case layout::kTypeMemo:
        case layout::kTypeOle:
            if (size == 0) return Value(Null{});
            if (size < layout::kLongValueDescriptorSize)
                return corrupt("long value descriptor of " + std::to_string(size) +
                               " bytes in column " + toUtf8(column.name) + " (" + where.text() +
                               ")");
            return Value(std::vector<std::uint8_t>(field.bytes.begin(), field.bytes.end()));
        default:
            return Value(std::vector<std::uint8_t>(field.bytes.begin(), field.bytes.end()));
    }
}

}  // namespace jet
