#pragma once

#include "controls/label.h"

namespace controls {

// A data-bound title: one transparent line showing a field of the current record, cut at the
// box's edge when it is longer (no wrapping, no ellipsis). A DataLink fills `value`.
class DBText : public Label {
    Q_OBJECT
    Q_PROPERTY(QString value READ text WRITE setText USER true)
    Q_DISABLE_COPY_MOVE(DBText)

public:
    explicit DBText(QWidget* parent);
};

}  // namespace controls
