#include "controls/db_text.h"

namespace controls {

DBText::DBText(QWidget* parent) : Label(parent) {
    setAutoSize(AutoSize::off);
}

}  // namespace controls
