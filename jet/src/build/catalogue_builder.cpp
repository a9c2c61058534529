#include "build/catalogue_builder.h"

#include <array>

#include "layout.h"

namespace jet::build {

namespace {

constexpr std::uint8_t kSystemFlags =
    layout::kColumnFlagUpdatable | layout::kColumnFlagReplication;  // 0x12
// The owner and security-id columns carry one more flag bit in Jet's own tables.
constexpr std::uint8_t kSystemSidFlags = kSystemFlags | layout::kColumnFlagSecurityId;
constexpr std::uint16_t kSystemTextLength = 510;  // bytes
constexpr std::uint16_t kSystemBinaryLength = 510;

// The security ids the Jet engine writes when no workgroup file is in use: the engine itself
// (owner of the containers and system tables), the Admin user (owner of the database and of
// every object it creates), the Admins group, and the "creator" entry that containers pass on.
const std::vector<std::uint8_t> kSidEngine = {0x65, 0x89};
const std::vector<std::uint8_t> kSidAdmin = {0x64, 0x8B};
const std::vector<std::uint8_t> kSidAdmins = {0x65, 0x8B};
const std::vector<std::uint8_t> kSidCreator = {0x65, 0x8E};

// Rights a new table or query receives from the Tables container, for its owner and for Admins.
constexpr std::int64_t kObjectFullRights = 0x000FFEFF;

ColumnDraft system(const char16_t* name, std::uint8_t type, std::uint8_t flags = kSystemFlags) {
    ColumnDraft draft;
    draft.name = name;
    draft.type = type;
    draft.flags = flags;
    if (type == layout::kTypeText) draft.length = kSystemTextLength;
    if (type == layout::kTypeBinary) draft.length = kSystemBinaryLength;
    return draft;
}

Value i32(std::uint32_t value) {
    return static_cast<std::int64_t>(static_cast<std::int32_t>(value));
}

std::vector<Value> objectRow(std::uint32_t id, std::uint32_t parentId, std::u16string name,
                             std::int16_t type, std::uint32_t flags,
                             const std::vector<std::uint8_t>& owner, double date) {
    std::vector<Value> row(17, Null{});
    row[0] = i32(id);
    row[1] = i32(parentId);
    row[2] = std::move(name);
    row[3] = static_cast<std::int64_t>(type);
    row[4] = DateTime{date};
    row[5] = DateTime{date};
    row[6] = owner;
    row[7] = i32(flags);
    return row;
}

std::vector<Value> aceRow(std::uint32_t objectId, const std::vector<std::uint8_t>& sid,
                          std::int64_t rights, bool inheritable) {
    return {i32(objectId), sid, rights, inheritable};
}

}  // namespace

TableLayout msysObjectsLayout() {
    using namespace layout;
    return makeTableLayout(
        u"MSysObjects",
        {system(u"Id", kTypeLong), system(u"ParentId", kTypeLong), system(u"Name", kTypeText),
         system(u"Type", kTypeInteger), system(u"DateCreate", kTypeDateTime),
         system(u"DateUpdate", kTypeDateTime), system(u"Owner", kTypeBinary, kSystemSidFlags),
         system(u"Flags", kTypeLong), system(u"Database", kTypeMemo), system(u"Connect", kTypeMemo),
         system(u"ForeignName", kTypeText), system(u"RmtInfoShort", kTypeBinary),
         system(u"RmtInfoLong", kTypeOle), system(u"Lv", kTypeOle), system(u"LvProp", kTypeOle),
         system(u"LvModule", kTypeOle), system(u"LvExtra", kTypeOle)},
        true);
}

TableLayout msysAcesLayout() {
    using namespace layout;
    return makeTableLayout(
        u"MSysACEs",
        {system(u"ObjectId", kTypeLong), system(u"SID", kTypeBinary, kSystemSidFlags),
         system(u"ACM", kTypeLong), system(u"FInheritable", kTypeBoolean)},
        true);
}

TableLayout msysQueriesLayout() {
    using namespace layout;
    return makeTableLayout(u"MSysQueries",
                           {system(u"ObjectId", kTypeLong), system(u"Attribute", kTypeByte),
                            system(u"Order", kTypeBinary), system(u"Name1", kTypeText),
                            system(u"Name2", kTypeText), system(u"Expression", kTypeMemo),
                            system(u"Flag", kTypeInteger), system(u"LvExtra", kTypeLong)},
                           true);
}

TableLayout msysRelationshipsLayout() {
    using namespace layout;
    return makeTableLayout(
        u"MSysRelationships",
        {system(u"szRelationship", kTypeText), system(u"grbit", kTypeLong),
         system(u"ccolumn", kTypeLong), system(u"icolumn", kTypeLong),
         system(u"szObject", kTypeText), system(u"szColumn", kTypeText),
         system(u"szReferencedObject", kTypeText), system(u"szReferencedColumn", kTypeText)},
        true);
}

std::vector<std::vector<Value>> msysObjectsRows(const std::vector<CatalogueObject>& objects,
                                                double date) {
    using namespace layout;
    const auto containerFlags = kObjectFlagsSystemTable;
    std::vector<std::vector<Value>> rows = {
        objectRow(kTablesContainerId, kContainersParentId, u"Tables", kObjectTypeContainer,
                  containerFlags, kSidEngine, date),
        objectRow(kDatabasesContainerId, kContainersParentId, u"Databases", kObjectTypeContainer,
                  containerFlags, kSidEngine, date),
        objectRow(kRelationshipsContainerId, kContainersParentId, u"Relationships",
                  kObjectTypeContainer, containerFlags, kSidEngine, date),
        objectRow(kMSysDbId, kDatabasesContainerId, u"MSysDb", kObjectTypeDatabase, containerFlags,
                  kSidAdmin, date),
        objectRow(kMSysObjectsTdefPage, kTablesContainerId, u"MSysObjects", kObjectTypeTable,
                  kObjectFlagsSystemTable, kSidEngine, date),
        objectRow(kMSysAcesTdefPage, kTablesContainerId, u"MSysACEs", kObjectTypeTable,
                  kObjectFlagsSystemTable, kSidEngine, date),
        objectRow(kMSysQueriesTdefPage, kTablesContainerId, u"MSysQueries", kObjectTypeTable,
                  kObjectFlagsSystemTable, kSidEngine, date),
        objectRow(kMSysRelationshipsTdefPage, kTablesContainerId, u"MSysRelationships",
                  kObjectTypeTable, kObjectFlagsSystemTable, kSidEngine, date),
    };
    for (const CatalogueObject& object : objects) {
        // Saved queries live under the Tables container too.
        rows.push_back(objectRow(object.id, kTablesContainerId, object.name,
                                 object.query ? kObjectTypeQuery : kObjectTypeTable, 0, kSidAdmin,
                                 date));
    }
    return rows;
}

std::vector<std::vector<Value>> msysAcesRows(const std::vector<CatalogueObject>& objects) {
    using namespace layout;
    // The engine's own entries, as it writes them into a new database.
    std::vector<std::vector<Value>> rows = {
        aceRow(kMSysObjectsTdefPage, kSidAdmin, 0x60000, false),
        aceRow(kMSysAcesTdefPage, kSidAdmin, 0x60000, false),
        aceRow(kMSysQueriesTdefPage, kSidAdmin, 0x60000, false),
        aceRow(kMSysRelationshipsTdefPage, kSidAdmin, 0xE0000, false),
        aceRow(kTablesContainerId, kSidCreator, 0xF00FE, true),
        aceRow(kTablesContainerId, kSidAdmin, 0x60001, false),
        aceRow(kRelationshipsContainerId, kSidCreator, 0xF00FE, true),
        aceRow(kRelationshipsContainerId, kSidAdmin, 0x60001, false),
        aceRow(kDatabasesContainerId, kSidAdmin, 0x60000, false),
        aceRow(kMSysDbId, kSidAdmin, 0x6000E, false),
        aceRow(kMSysDbId, kSidAdmins, 0xE, false),
        aceRow(kMSysQueriesTdefPage, kSidAdmins, 0x14, false),
        aceRow(kMSysRelationshipsTdefPage, kSidAdmins, 0x14, false),
        aceRow(kMSysObjectsTdefPage, kSidAdmins, 0x14, false),
        aceRow(kTablesContainerId, kSidAdmins, kObjectFullRights, true),
        aceRow(kRelationshipsContainerId, kSidAdmins, 0xFFFFF, true),
    };
    for (const CatalogueObject& object : objects) {
        rows.push_back(aceRow(object.id, kSidAdmin, kObjectFullRights, false));
        rows.push_back(aceRow(object.id, kSidAdmins, kObjectFullRights, false));
    }
    return rows;
}

std::vector<std::vector<Value>> msysQueriesRows(const std::vector<CatalogueQuery>& queries) {
    using namespace layout;
    std::vector<std::vector<Value>> rows;
    for (const CatalogueQuery& query : queries) {
        std::uint32_t order = 0;
        auto add = [&](std::uint8_t attribute, std::int16_t flag, Value name1) {
            ++order;
            // Order is a big-endian sequence number: the rows of a query in the order written.
            std::vector<std::uint8_t> orderBytes(kQueryOrderSize);
            for (std::size_t i = 0; i < kQueryOrderSize; ++i)
                orderBytes[i] = static_cast<std::uint8_t>(order >> (8 * (kQueryOrderSize - 1 - i)));
            rows.push_back({i32(query.id), static_cast<std::int64_t>(attribute),
                            std::move(orderBytes), std::move(name1), Null{}, Null{},
                            static_cast<std::int64_t>(flag), Null{}});
        };
        add(kQueryAttrStart, 0, Null{});
        add(kQueryAttrKind, kQueryKindSelect, Null{});
        add(kQueryAttrOptions, kQueryOptionAllFields, Null{});
        add(kQueryAttrTable, 0, query.table);
        add(kQueryAttrEnd, 0, Null{});
    }
    return rows;
}

}  // namespace jet::build
