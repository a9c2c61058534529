#include "shell/vorudi.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>

#include "shell/keyboard_layout.h"

namespace shell {

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Tovask3"));
    setFixedSize(kClientWidth, kClientHeight);
    setLayoutDirection(Qt::RightToLeft);

    Label1 = new QLabel(QStringLiteral("Zandrel kelvora"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(188, 363, 81, 18);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);

    FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() { activatePersianKeyboard(); }

void TForm2::Label1Click() {
    if (m_main == nullptr) return;
    if (m_main->isHidden()) {
        // Showing keeps the window state: a minimised window comes back minimised.
        m_main->setWindowState(m_main->windowState());
        m_main->show();
    }
    m_main->raise();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Label1->rect().contains(mouse->position().toPoint()))
            Label1Click();
    }
    return QWidget::eventFilter(watched, event);
}

void TForm2::closeEvent(QCloseEvent* event) {
    // The intro window is the main window: closing it ends the program at once, whatever
    // else is shown.
    event->accept();
    QCoreApplication::quit();
}

}  // namespace shell
