#pragma once

#include <array>

#include <QRect>
#include <QString>

namespace shell {

// One row of the answering-centres panel. The link label opens `address`, which is a constant
// of its own: in rows 5 to 7 the caption is a shortened form of it.
struct CentreRow {
    const char* nameLabel;  // component names, which do not follow the row order
    const char* linkLabel;
    QRect nameBox;  // as laid out, in the panel's coordinates; each label keeps the right edge
    QRect linkBox;  // and grows to the left with its caption
    QString name;
    QString caption;
    QString address;  // a host name, or a full address with scheme and path (row 5)
};

inline constexpr int kCentreCount = 8;

// The rows from the top; row N is element N - 1. Row 8 is the publisher's own.
const std::array<CentreRow, kCentreCount>& answeringCentres();

}  // namespace shell
