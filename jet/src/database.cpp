#include "jet/database.h"

#include "database_impl.h"
#include "names.h"
#include "sql/executor.h"
#include "table_scan.h"

namespace jet {

Result<std::unique_ptr<DatabaseImpl>> DatabaseImpl::open(std::shared_ptr<PageSource> source,
                                                         OpenOptions options) {
    auto header = DatabaseHeader::read(*source);
    JET_TRY(header);
    if (!options.ignorePassword || header->databaseKey != 0)
        JET_TRY(header->checkSupported(source->name()));
    auto catalogue = Catalogue::read(*source);
    if (!catalogue.ok())
        return Status(catalogue.status().code(), "cannot read the catalogue of \"" +
                                                     source->name() +
                                                     "\": " + catalogue.status().message());
    return std::unique_ptr<DatabaseImpl>(
        new DatabaseImpl(std::move(source), std::move(*header), std::move(*catalogue)));
}

Result<TableDefinition> DatabaseImpl::tableDefinition(const CatalogEntry& table) const {
    return TableDefinition::read(*m_source, table.tdefPage(), table.name);
}

Result<ResultSet> DatabaseImpl::readTable(const CatalogEntry& table) const {
    auto definition = tableDefinition(table);
    JET_TRY(definition);
    return takeSnapshot(m_source, *definition, allColumns(*definition));
}

Database::Database(std::unique_ptr<DatabaseImpl> impl) : m_impl(std::move(impl)) {}

Database::~Database() = default;

Result<std::unique_ptr<Database>> Database::open(const std::filesystem::path& path, Mode mode) {
    return open(path, mode, systemFileIo());
}

Result<std::unique_ptr<Database>> Database::open(const std::filesystem::path& path, Mode mode,
                                                 std::shared_ptr<FileIo> io) {
    auto file = DatabaseFile::open(path, mode == Mode::readWrite, std::move(io));
    JET_TRY(file);
    const std::shared_ptr<DatabaseFile> shared = std::move(*file);
    // The shared lock also rolls back what a writer that died left half-written.
    JET_TRY(shared->lockShared());
    auto impl = [&] {
        FileLockGuard guard(shared.get());
        return DatabaseImpl::open(shared, {});
    }();
    JET_TRY(impl);
    (*impl)->attachFile(shared);
    return std::unique_ptr<Database>(new Database(std::move(*impl)));
}

Result<std::unique_ptr<Database>> Database::openBytes(std::vector<std::uint8_t> bytes,
                                                      std::string name) {
    auto impl = DatabaseImpl::open(
        std::shared_ptr<PageSource>(PageSource::fromBytes(std::move(bytes), std::move(name))), {});
    JET_TRY(impl);
    return std::unique_ptr<Database>(new Database(std::move(*impl)));
}

std::vector<std::u16string> Database::tableNames() const {
    std::vector<std::u16string> names;
    for (const CatalogEntry& entry : m_impl->catalogue().userTables()) names.push_back(entry.name);
    return names;
}

std::vector<QueryInfo> Database::queries() const {
    std::vector<QueryInfo> queries;
    for (const CatalogEntry& entry : m_impl->catalogue().queries())
        queries.push_back({entry.name, entry.flags, queryKindName(entry.flags)});
    return queries;
}

Result<ResultSet> Database::execute(std::u16string_view statement) {
    // A snapshot is taken under the shared lock: no writer of ours is half-way meanwhile.
    DatabaseFile* file = m_impl->file();
    if (file != nullptr) JET_TRY(file->lockShared());
    FileLockGuard guard(file);
    return sql::execute(*m_impl, statement);
}

Result<ResultSet> Database::openByName(std::u16string_view name) {
    DatabaseFile* file = m_impl->file();
    if (file != nullptr) JET_TRY(file->lockShared());
    FileLockGuard guard(file);
    return sql::openByName(*m_impl, name);
}

Result<ResultSet> Database::readRow(std::u16string_view table, RowLocation row) {
    const CatalogEntry* entry = m_impl->catalogue().findUserTable(table);
    if (entry == nullptr)
        return Status(StatusCode::notFound, "there is no table \"" +
                                                toUtf8(std::u16string(table)) + "\" in \"" +
                                                m_impl->fileName() + "\"");
    DatabaseFile* file = m_impl->file();
    if (file != nullptr) JET_TRY(file->lockShared());
    FileLockGuard guard(file);
    auto definition = m_impl->tableDefinition(*entry);
    JET_TRY(definition);
    SnapshotRequest request = allColumns(*definition);
    request.only = row;
    return takeSnapshot(m_impl->sharedSource(), *definition, request);
}

const std::string& Database::fileName() const {
    return m_impl->fileName();
}

}  // namespace jet
