#include "browser/Unit1.h"

#include <QCloseEvent>

#include "controls/error_box.h"

namespace browser {

Tmain::Tmain(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Zandrel قرآني kelvora"));
    setFixedSize(kClientWidth, kClientHeight);
    setLayoutDirection(Qt::RightToLeft);

    m_store = new content::ContentStore(this);
    m_store->open([](const QString& message) { controls::showErrorBox(message); });
    FormCreate();
}

Tmain::~Tmain() = default;

void Tmain::FormCreate() {}

void Tmain::closeEvent(QCloseEvent* event) {
    // Closing the browsing window only hides it; everything in it stays for the next show.
    event->accept();
}

}  // namespace browser
