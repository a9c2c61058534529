// Database's write calls: each takes the exclusive lock, runs one RowWriter operation in a
// Transaction and commits it.

#include "database_impl.h"
#include "jet/database.h"
#include "names.h"
#include "write/row_writer.h"
#include "write/transaction.h"

namespace jet {

namespace {

template <typename Operation>
auto runWrite(DatabaseImpl& impl, std::u16string_view table, Operation operation)
    -> decltype(operation(std::declval<RowWriter&>())) {
    DatabaseFile* file = impl.file();
    if (file == nullptr || !file->writable())
        return Status(StatusCode::readOnly,
                      "\"" + impl.fileName() + "\" is open read-only; the change was not saved");
    const CatalogEntry* entry = impl.catalogue().findUserTable(table);
    if (entry == nullptr)
        return Status(StatusCode::notFound, "there is no table \"" + toUtf8(std::u16string(table)) +
                                                "\" in \"" + impl.fileName() + "\"");
    JET_TRY(file->lockExclusive());
    FileLockGuard guard(file);
    Transaction transaction(*file);
    auto writer = RowWriter::open(transaction, entry->tdefPage(), entry->name);
    JET_TRY(writer);
    auto result = operation(*writer);
    JET_TRY(result);
    JET_TRY(transaction.commit());
    return result;
}

}  // namespace

bool Database::isReadOnly() const {
    return m_impl->file() == nullptr || !m_impl->file()->writable();
}

Result<RowLocation> Database::insertRow(std::u16string_view table,
                                        const std::vector<Value>& values) {
    return runWrite(*m_impl, table, [&](RowWriter& writer) { return writer.insert(values); });
}

Status Database::updateRow(std::u16string_view table, RowLocation row,
                           std::uint64_t expectedVersion,
                           const std::vector<std::pair<std::size_t, Value>>& changes) {
    return runWrite(*m_impl, table, [&](RowWriter& writer) {
        return writer.update(row, expectedVersion, changes);
    });
}

Status Database::deleteRow(std::u16string_view table, RowLocation row,
                           std::uint64_t expectedVersion) {
    return runWrite(*m_impl, table,
                    [&](RowWriter& writer) { return writer.remove(row, expectedVersion); });
}

}  // namespace jet
