#include "shell/answering_centres.h"

#include "controls/web_address.h"

namespace shell {

const std::array<CentreRow, kCentreCount>& answeringCentres() {
    static const std::array<CentreRow, kCentreCount> rows = {{
        {"Label16",
         "Label23",
         {339, 52, 43, 16},
         {266, 69, 116, 19},
         QStringLiteral("مرکز نور"),
         QStringLiteral("www.markaz-noor.example"),
         QStringLiteral("www.markaz-noor.example")},
        {"Label15",
         "Label24",
         {305, 101, 77, 16},
         {215, 116, 167, 19},
         QStringLiteral("دفتر پاسخ به شبهات"),
         QStringLiteral("www.pasokh-shobahat.example"),
         QStringLiteral("www.pasokh-shobahat.example")},
        {"Label14",
         "Label22",
         {295, 147, 87, 16},
         {300, 164, 82, 19},
         QStringLiteral("خانه پرسش ديني"),
         QStringLiteral("www.khane-porsesh.example"),
         QStringLiteral("www.khane-porsesh.example")},
        {"Label17",
         "Label25",
         {308, 200, 74, 16},
         {276, 219, 106, 19},
         QStringLiteral("کانون انديشه"),
         QStringLiteral("www.kanoon-andishe.example"),
         QStringLiteral("www.kanoon-andishe.example")},
        {"Label18",
         "Label26",
         {234, 253, 148, 16},
         {172, 273, 210, 19},
         QStringLiteral("شبکه مراکز پاسخگويي استانها"),
         QStringLiteral("morvandel.example/centres"),
         QStringLiteral("http://www.morvandel.example/centres/")},
        {"Label20",
         "Label28",
         {339, 304, 43, 16},
         {299, 320, 83, 19},
         QStringLiteral("مرکز هدايت"),
         QStringLiteral("hedayat-pasokh.example"),
         QStringLiteral("www.hedayat-pasokh.example")},
        {"Label19",
         "Label27",
         {325, 353, 57, 16},
         {280, 369, 102, 19},
         QStringLiteral("مرکز پاسخ قم"),
         QStringLiteral("pasokh-qom.example"),
         QStringLiteral("www.pasokh-qom.example")},
        {"Label21",
         "Label29",
         {284, 404, 98, 16},
         {278, 421, 104, 19},
         QStringLiteral("Morvandel"),
         QString::fromLatin1(controls::kPublisherWebAddress),
         QString::fromLatin1(controls::kPublisherWebAddress)},
    }};
    return rows;
}

}  // namespace shell
