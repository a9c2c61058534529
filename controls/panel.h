#pragma once

#include <QFrame>

namespace controls {

// A plain container with a raised one-pixel bevel and a filled face, holding other controls.
// It takes no focus itself; its children take part in the window's tab order in its place.
class Panel : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Panel)

public:
    explicit Panel(QWidget* parent);
};

}  // namespace controls
