#include "build/header_page.h"

#include <cmath>

#include "build/byte_writer.h"
#include "header_mask.h"

namespace jet::build {

Page headerPage(double creationDate) {
    using namespace layout;
    Page page{};
    ByteWriter out(page);
    out.u8At(0, kPageHeader);
    out.bytesAt(1, kHeaderAfterType);
    out.bytesAt(kHeaderMagic, kHeaderMagicText);
    out.u8At(kHeaderVersion, kVersionJet4);

    out.bytesAt(kHeaderMaskStart, kHeaderMaskedConstants);
    const std::uint32_t systemTables[] = {kMSysObjectsTdefPage, kMSysAcesTdefPage,
                                          kMSysQueriesTdefPage, kMSysRelationshipsTdefPage};
    for (std::size_t i = 0; i < 4; ++i) out.u32At(kHeaderSystemTdefs + 4 * i, systemTables[i]);
    out.u16At(kHeaderCodePage, kHeaderCodePageWestern);
    out.u32At(kHeaderDatabaseKey, 0);
    // The password field is masked a second time with the creation date's whole days: an empty
    // password (all zeros) is stored as that pattern.
    const auto days =
        static_cast<std::uint32_t>(static_cast<std::int32_t>(std::trunc(creationDate)));
    for (std::size_t i = 0; i < kHeaderPasswordSize; i += 4) out.u32At(kHeaderPassword + i, days);
    out.u32At(kHeaderUnknown6A, kHeaderUnknown6AJetValue);
    out.u16At(kHeaderSortOrder, kSortOrderGeneral);
    out.u8At(kHeaderSortOrderVersion, kSortOrderVersionLegacy);
    out.f64At(kHeaderCreationDate, creationDate);
    applyHeaderMask(page.data());

    out.u32At(kHeaderAfterMask, kHeaderAfterMaskValue);
    out.bytesAt(kHeaderEngineVersionText, kHeaderEngineVersion);
    for (std::size_t slot = 0; slot < kHeaderCommitSlotCount; ++slot)
        out.bytesAt(kHeaderCommitSlots + 2 * slot, kHeaderCommitSlotIdle);
    return page;
}

}  // namespace jet::build
