#pragma once

// Every byte offset and constant of the Jet 4.0 on-disk format that the engine uses, named
// once. All integers are little-endian unless a comment says otherwise. Offsets are relative
// to the start of the structure named in the group's comment.
//
// Page 0, the database header (bytes 0x18..0x97 are masked with an RC4 keystream):
//   0x00 1  page type 0x00            0x04 16 "Standard Jet DB\0"   0x14 1 version (1 = Jet 4)
//   0x18 128 masked area: 0x3C code page, 0x3E database key, 0x42 password (40 bytes),
//            0x6E sort order, 0x71 sort-order version, 0x72 creation date (double)
//   0x98 4  0x654                     0x9C 4 "4.0\0"                0xE00 512 commit slots
// Data page (type 0x01): 0x02 free space, 0x04 owner TDEF page ("LVAL" on long-value pages),
//   0x08 chain stamp, 0x0C row count, 0x0E row slot table (2 bytes each).
// TDEF page (type 0x02): 0x02 free space, 0x04 next TDEF page; the definition header follows
//   (offsets below are into the definition assembled from the page chain).
// Row: 2 bytes column count, fixed area, variable data; from the end: null mask, variable
//   column count (2), variable offsets in reverse (2 each), end of data (2).

#include <array>
#include <cstddef>
#include <cstdint>

namespace jet::layout {

inline constexpr std::size_t kPageSize = 4096;

// ---- page types (byte 0 of every page)
inline constexpr std::uint8_t kPageHeader = 0x00;
inline constexpr std::uint8_t kPageData = 0x01;
inline constexpr std::uint8_t kPageTableDefinition = 0x02;
inline constexpr std::uint8_t kPageIndexNode = 0x03;
inline constexpr std::uint8_t kPageIndexLeaf = 0x04;
inline constexpr std::uint8_t kPageUsageBitmap = 0x05;
// Byte 1 of every page Jet writes.
inline constexpr std::uint8_t kPageMarker = 0x01;

// ---- page 0: database header
inline constexpr std::size_t kHeaderMagic = 0x04;  // "Standard Jet DB\0"
inline constexpr std::size_t kHeaderMagicSize = 16;
inline constexpr std::size_t kHeaderVersion = 0x14;
inline constexpr std::uint8_t kVersionJet3 = 0x00;
inline constexpr std::uint8_t kVersionJet4 = 0x01;
inline constexpr std::size_t kHeaderMaskStart = 0x18;
inline constexpr std::size_t kHeaderMaskSize = 128;
inline constexpr std::size_t kHeaderSystemTdefs = 0x20;  // 4 x uint32: 2, 3, 4, 5
inline constexpr std::size_t kHeaderCodePage = 0x3C;
inline constexpr std::size_t kHeaderDatabaseKey = 0x3E;
inline constexpr std::size_t kHeaderPassword = 0x42;
inline constexpr std::size_t kHeaderPasswordSize = 40;
inline constexpr std::size_t kHeaderUnknown6A = 0x6A;
inline constexpr std::size_t kHeaderSortOrder = 0x6E;
inline constexpr std::size_t kHeaderSortOrderVersion = 0x71;
inline constexpr std::size_t kHeaderCreationDate = 0x72;
inline constexpr std::size_t kHeaderAfterMask = 0x98;  // uint32 0x654
inline constexpr std::size_t kHeaderEngineVersionText = 0x9C;  // "4.0\0"
inline constexpr std::size_t kHeaderCommitSlots = 0xE00;  // 256 x {00 01} when idle
inline constexpr std::size_t kHeaderCommitSlotCount = 256;
inline constexpr std::array<std::uint8_t, 3> kHeaderAfterType = {0x01, 0x00, 0x00};
inline constexpr std::array<std::uint8_t, 16> kHeaderMagicText = {'S', 't', 'a', 'n', 'd', 'a', 'r', 'd', ' ',
                                                                  'J', 'e', 't', ' ', 'D', 'B', 0};
// The first 8 bytes of the masked area, as every Jet 4 file has them (after unmasking).
inline constexpr std::array<std::uint8_t, 8> kHeaderMaskedConstants = {0x00, 0x01, 0x00, 0x00,
                                                                       0x01, 0x01, 0x00, 0x00};
inline constexpr std::uint16_t kHeaderCodePageWestern = 1252;
// 0x6A in a file the Jet 4 engine made itself (it looks like the engine's build number).
inline constexpr std::uint32_t kHeaderUnknown6AJetValue = 0x261C;
inline constexpr std::uint32_t kHeaderAfterMaskValue = 0x654;
inline constexpr std::array<std::uint8_t, 4> kHeaderEngineVersion = {'4', '.', '0', 0};
inline constexpr std::array<std::uint8_t, 2> kHeaderCommitSlotIdle = {0x00, 0x01};
// The RC4 key whose keystream masks bytes 0x18..0x97 of page 0.
inline constexpr std::array<std::uint8_t, 4> kHeaderMaskKey = {0xC7, 0xDA, 0x39, 0x6B};

// ---- system catalogue
inline constexpr std::uint32_t kMSysObjectsTdefPage = 2;
inline constexpr std::uint32_t kGlobalUsageMapPage = 1;  // row 0: set bit = free page
// Owner field of page 1 (the global map page) in every file seen.
inline constexpr std::uint32_t kGlobalUsageMapPageOwner = 1;
// TDEF pages of the engine's own tables, also listed at header 0x20.
inline constexpr std::uint32_t kMSysAcesTdefPage = 3;
inline constexpr std::uint32_t kMSysQueriesTdefPage = 4;
inline constexpr std::uint32_t kMSysRelationshipsTdefPage = 5;
inline constexpr std::int32_t kTablesContainerId = 0x0F000001;
inline constexpr std::int32_t kDatabasesContainerId = 0x0F000002;
inline constexpr std::int32_t kRelationshipsContainerId = 0x0F000003;
inline constexpr std::int32_t kContainersParentId = 0x0F000000;
inline constexpr std::int32_t kMSysDbId = 0x10000000;
inline constexpr std::int16_t kObjectTypeTable = 1;
inline constexpr std::int16_t kObjectTypeDatabase = 2;
inline constexpr std::int16_t kObjectTypeContainer = 3;
inline constexpr std::int16_t kObjectTypeQuery = 5;
inline constexpr std::uint32_t kObjectFlagsSystem = 0x80000002;
inline constexpr std::uint32_t kObjectFlagsSystemTable = 0x80000000;  // what Jet writes itself
// Objects without a TDEF (saved queries, Access's own documents) take ids from this base up.
inline constexpr std::uint32_t kObjectIdNoTdefBase = 0x80000000;
inline constexpr std::uint32_t kObjectIdPageMask = 0x00FFFFFF;
inline constexpr std::uint32_t kQueryKindMask = 0xF0;
// query kinds, MSysObjects Flags & kQueryKindMask
inline constexpr std::uint32_t kQueryFlagsSelect = 0x00;
inline constexpr std::uint32_t kQueryFlagsCrosstab = 0x10;
inline constexpr std::uint32_t kQueryFlagsDelete = 0x20;
inline constexpr std::uint32_t kQueryFlagsUpdate = 0x30;
inline constexpr std::uint32_t kQueryFlagsAppend = 0x40;
inline constexpr std::uint32_t kQueryFlagsMakeTable = 0x50;
inline constexpr std::uint32_t kQueryFlagsDataDefinition = 0x60;
inline constexpr std::uint32_t kQueryFlagsPassThrough = 0x70;
inline constexpr std::uint32_t kQueryFlagsUnion = 0x80;

// MSysQueries attributes
inline constexpr std::uint8_t kQueryAttrStart = 0;
inline constexpr std::uint8_t kQueryAttrKind = 1;
inline constexpr std::uint8_t kQueryAttrParameter = 2;
inline constexpr std::uint8_t kQueryAttrOptions = 3;
inline constexpr std::uint8_t kQueryAttrExternalDb = 4;
inline constexpr std::uint8_t kQueryAttrTable = 5;
inline constexpr std::uint8_t kQueryAttrColumn = 6;
inline constexpr std::uint8_t kQueryAttrJoin = 7;
inline constexpr std::uint8_t kQueryAttrWhere = 8;
inline constexpr std::uint8_t kQueryAttrGroupBy = 9;
inline constexpr std::uint8_t kQueryAttrHaving = 10;
inline constexpr std::uint8_t kQueryAttrOrderBy = 11;
inline constexpr std::uint8_t kQueryAttrEnd = 255;
inline constexpr std::int16_t kQueryKindSelect = 1;
inline constexpr std::int16_t kQueryOptionAllFields = 0x01;
inline constexpr std::int16_t kQueryOptionDistinct = 0x02;
inline constexpr std::int16_t kQueryOptionOwnerAccess = 0x04;
inline constexpr std::int16_t kQueryOptionDistinctRow = 0x08;
inline constexpr std::int16_t kQueryOptionTop = 0x10;
inline constexpr std::int16_t kQueryOptionPercent = 0x20;
inline constexpr std::size_t kQueryOrderSize = 4;  // MSysQueries Order: big-endian sequence number

// ---- data page (type 0x01)
inline constexpr std::size_t kDataFreeSpace = 0x02;
inline constexpr std::size_t kDataOwner = 0x04;
inline constexpr std::size_t kDataChainStamp = 0x08;
inline constexpr std::size_t kDataRowCount = 0x0C;
inline constexpr std::size_t kDataRowSlots = 0x0E;
inline constexpr std::size_t kDataInitialFreeSpace = kPageSize - kDataRowSlots;  // 4082
inline constexpr std::uint16_t kRowSlotOffsetMask = 0x1FFF;
inline constexpr std::uint16_t kRowSlotMoved = 0x4000;     // slot holds a pointer to the row
inline constexpr std::uint16_t kRowSlotHidden = 0x8000;    // target of a moved row
inline constexpr std::uint16_t kRowSlotDeleted = 0xC000;   // both bits
inline constexpr std::size_t kMaxRowsPerPage = 255;
inline constexpr std::size_t kMaxRowSize = 4060;

// ---- row (offsets from the row's first byte; the trailer is read backwards from its end)
inline constexpr std::size_t kRowColumnCount = 0;  // uint16: column slots in this row
inline constexpr std::size_t kRowFixedArea = 2;    // fixed column c at kRowFixedArea + c.fixedOffset
inline constexpr std::size_t kRowTrailerField = 2;  // variable count, each offset, end of data
inline constexpr std::size_t kRowPointerSize = 4;   // a moved row's pointer; an LVAL chain link
// Jet's 2 GB limit on a database file, in pages.
inline constexpr std::uint32_t kMaxPages = 0x80000000u / kPageSize;
inline constexpr std::array<std::uint8_t, 4> kLongValueOwner = {'L', 'V', 'A', 'L'};

// ---- TDEF page and table definition (offsets into the assembled definition)
inline constexpr std::size_t kTdefFreeSpace = 0x02;
inline constexpr std::size_t kTdefNextPage = 0x04;
inline constexpr std::size_t kTdefPageHeaderSize = 8;  // continuation pages add bytes 8..4095
// A TDEF page's free-space field is 4096 - bytes used - this.
inline constexpr std::size_t kTdefFreeSpaceSlack = 8;
inline constexpr std::size_t kMaxColumns = 255;
inline constexpr std::size_t kTdefLength = 0x08;
inline constexpr std::size_t kTdefConstant = 0x0C;  // 0x659
inline constexpr std::size_t kTdefRowCount = 0x10;
inline constexpr std::size_t kTdefAutoNumber = 0x14;
inline constexpr std::size_t kTdefAutoNumberIncrement = 0x18;
inline constexpr std::size_t kTdefTableType = 0x28;  // 0x4E user, 0x53 system
inline constexpr std::size_t kTdefMaxColumns = 0x29;
inline constexpr std::size_t kTdefVariableColumns = 0x2B;
inline constexpr std::size_t kTdefColumnCount = 0x2D;
inline constexpr std::size_t kTdefLogicalIndexCount = 0x2F;
inline constexpr std::size_t kTdefRealIndexCount = 0x33;
inline constexpr std::size_t kTdefOwnedPagesMap = 0x37;
inline constexpr std::size_t kTdefFreeSpaceMap = 0x3B;
inline constexpr std::size_t kTdefBody = 0x3F;
inline constexpr std::uint32_t kTdefMagic = 0x659;
inline constexpr std::uint8_t kTableTypeUser = 0x4E;
inline constexpr std::uint8_t kTableTypeSystem = 0x53;
inline constexpr std::size_t kRealIndexStatsSize = 12;
inline constexpr std::size_t kColumnDescriptorSize = 25;
inline constexpr std::size_t kRealIndexDescriptorSize = 52;
inline constexpr std::size_t kLogicalIndexDescriptorSize = 28;
inline constexpr std::size_t kLongValueColumnEntrySize = 10;  // col_num, owned map, free map
inline constexpr std::uint16_t kLongValueColumnListEnd = 0xFFFF;

// column descriptor (25 bytes)
inline constexpr std::size_t kColumnType = 0;
inline constexpr std::size_t kColumnMagic = 1;
inline constexpr std::size_t kColumnNumber = 5;
inline constexpr std::size_t kColumnVariableIndex = 7;
inline constexpr std::size_t kColumnNumberAgain = 9;
inline constexpr std::size_t kColumnSortOrder = 11;  // numeric: 11 precision, 12 scale
inline constexpr std::size_t kColumnPrecision = 11;
inline constexpr std::size_t kColumnScale = 12;
inline constexpr std::size_t kColumnSortOrderVersion = 14;
inline constexpr std::size_t kColumnFlags = 15;
inline constexpr std::size_t kColumnExtendedFlags = 16;
inline constexpr std::size_t kColumnFixedOffset = 21;
inline constexpr std::size_t kColumnLength = 23;
inline constexpr std::uint8_t kColumnFlagFixed = 0x01;
inline constexpr std::uint8_t kColumnFlagUpdatable = 0x02;
inline constexpr std::uint8_t kColumnFlagAutoNumber = 0x04;
inline constexpr std::uint8_t kColumnFlagReplication = 0x10;
inline constexpr std::uint8_t kColumnFlagSecurityId = 0x20;  // unknown; on Jet's SID columns
inline constexpr std::uint8_t kColumnFlagAutoGuid = 0x40;
inline constexpr std::uint8_t kColumnFlagHyperlink = 0x80;
inline constexpr std::uint8_t kColumnExtFlagCompressed = 0x01;
inline constexpr std::uint16_t kSortOrderGeneral = 1033;
inline constexpr std::uint8_t kSortOrderVersionLegacy = 0;  // Access 2000-2007 "General"
inline constexpr std::size_t kColumnFixedOffsetNone = 0;   // what Jet writes for variable columns

// real (physical) index descriptor (52 bytes)
inline constexpr std::size_t kRealIndexMagic = 0;  // 0x783
inline constexpr std::size_t kRealIndexColumns = 4;  // 10 x {col_num 2, order 1}
inline constexpr std::size_t kRealIndexColumnSlots = 10;
inline constexpr std::uint16_t kRealIndexUnusedColumn = 0xFFFF;
inline constexpr std::size_t kRealIndexUsageMap = 34;
inline constexpr std::size_t kRealIndexRootPage = 38;
inline constexpr std::size_t kRealIndexFlags = 46;

// ---- column type codes
inline constexpr std::uint8_t kTypeBoolean = 0x01;
inline constexpr std::uint8_t kTypeByte = 0x02;
inline constexpr std::uint8_t kTypeInteger = 0x03;
inline constexpr std::uint8_t kTypeLong = 0x04;
inline constexpr std::uint8_t kTypeCurrency = 0x05;
inline constexpr std::uint8_t kTypeSingle = 0x06;
inline constexpr std::uint8_t kTypeDouble = 0x07;
inline constexpr std::uint8_t kTypeDateTime = 0x08;
inline constexpr std::uint8_t kTypeBinary = 0x09;
inline constexpr std::uint8_t kTypeText = 0x0A;
inline constexpr std::uint8_t kTypeOle = 0x0B;
inline constexpr std::uint8_t kTypeMemo = 0x0C;
inline constexpr std::uint8_t kTypeGuid = 0x0F;
inline constexpr std::uint8_t kTypeDecimal = 0x10;
inline constexpr std::size_t kGuidSize = 16;
inline constexpr std::size_t kDecimalSize = 17;     // sign byte + 4 x uint32, most significant first
inline constexpr std::size_t kDecimalMagnitude = 1;
inline constexpr std::uint8_t kDecimalNegative = 0x80;

// ---- long values (memo / OLE)
inline constexpr std::size_t kLongValueDescriptorSize = 12;
inline constexpr std::size_t kLongValuePointer = 4;
inline constexpr std::size_t kLongValueStamp = 8;
inline constexpr std::uint32_t kLongValueLengthMask = 0x3FFFFFFF;
inline constexpr std::uint32_t kLongValueKindMask = 0xC0000000;
inline constexpr std::uint32_t kLongValueInline = 0x80000000;
inline constexpr std::uint32_t kLongValueSingleRow = 0x40000000;
inline constexpr std::uint32_t kLongValueChain = 0x00000000;
inline constexpr std::size_t kLongValueMaxInline = 64;
inline constexpr std::size_t kLongValueMaxSingleRow = 3816;
inline constexpr std::size_t kLongValueChunkData = 4072;  // + 4-byte next pointer
inline constexpr std::size_t kLongValueChunkPointer = 4;  // in front of each chunk's data

// ---- usage maps
inline constexpr std::uint8_t kUsageMapInline = 0x00;
inline constexpr std::uint8_t kUsageMapReference = 0x01;
inline constexpr std::size_t kUsageMapInlineStart = 1;   // uint32 first page
inline constexpr std::size_t kUsageMapInlineBitmap = 5;
inline constexpr std::size_t kUsageMapReferencePages = 1;  // then uint32 bitmap page numbers
inline constexpr std::size_t kUsageMapReferenceMaxPages = 17;
inline constexpr std::size_t kUsageBitmapPageData = 4;  // bitmap starts after "05 01 00 00"
inline constexpr std::size_t kUsageBitmapPagesPerMapPage = (kPageSize - kUsageBitmapPageData) * 8;
inline constexpr std::size_t kUsageMapDefaultBitmapSize = 64;  // a 69-byte row: 512 pages
inline constexpr std::size_t kUsageMapBitmapGrowStep = 4;      // Access grows map rows by 4 bytes
inline constexpr std::size_t kUsageMapReferenceRowSize = 1 + 4 * kUsageMapReferenceMaxPages;

// ---- compressed text
inline constexpr std::array<std::uint8_t, 2> kCompressedTextMarker = {0xFF, 0xFE};

}  // namespace jet::layout
