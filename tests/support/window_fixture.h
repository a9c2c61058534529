#pragma once

// The browsing window over a small collection file built in a fresh folder that becomes the
// working directory, with its error boxes and opened web addresses captured; and the ways a
// test acts on it as a user.
#include <functional>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "browser/Unit1.h"
#include "collection_fixture.h"
#include "content/record_set.h"
#include "controls/error_box.h"
#include "controls/web_address.h"

namespace testing_browser {

class BrowsingWindow {
public:
    // `prepare` may change the file before the window opens it.
    explicit BrowsingWindow(const fixtures::CollectionOptions& options = {},
                            const std::function<void(const std::filesystem::path&)>& prepare = {}) {
        QVERIFY(m_folder.isValid());
        const std::filesystem::path path = file();
        const jet::Status status = fixtures::writeCollection(path, options);
        QVERIFY2(status.ok(), status.message().c_str());
        if (prepare) prepare(path);
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        controls::setErrorBoxHandler([this](const QString& caption, const QString& text) {
            captions.append(caption);
            boxes.append(text);
        });
        controls::setWebAddressHandler(
            [this](const QString& address) { addresses.append(address); });
        window = std::make_unique<browser::Tmain>();
    }
    ~BrowsingWindow() {
        window.reset();
        controls::setErrorBoxHandler({});
        controls::setWebAddressHandler({});
        QDir::setCurrent(m_previous);
    }
    BrowsingWindow(const BrowsingWindow&) = delete;
    BrowsingWindow& operator=(const BrowsingWindow&) = delete;

    std::filesystem::path file() const {
        return std::filesystem::path(m_folder.filePath("kelvora.mdb").toStdString());
    }

    template <typename Widget = QWidget>
    Widget* find(const QString& name) const {
        auto* widget = window->findChild<Widget*>(name);
        if (widget == nullptr) qWarning("no component %s", qPrintable(name));
        return widget;
    }
    void click(const QString& name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    content::RecordSet& recordSet(content::Source source) {
        return window->store().recordSet(source);
    }
    const QStringList& statements() { return window->store().connection().statementLog(); }

    QStringList boxes;
    QStringList captions;
    QStringList addresses;
    std::unique_ptr<browser::Tmain> window;

private:
    QTemporaryDir m_folder;
    QString m_previous;
};

// Sends text as typed keys that carry it (QTest::keyClicks handles Latin-1 only).
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}

// Arms `act` for the modal dialog of type Dialog that the next handler opens: it runs once the
// dialog is showing and should close it. A dialog still open after `act` is cancelled, so that
// a failing check cannot leave the test waiting. The flag tells whether a dialog appeared.
template <typename Dialog>
std::shared_ptr<bool> onNextModal(std::function<void(Dialog&)> act) {
    auto appeared = std::make_shared<bool>(false);
    QTimer::singleShot(0, [act = std::move(act), appeared] {
        QPointer<Dialog> dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog.isNull()) return;
        *appeared = true;
        act(*dialog);
        if (!dialog.isNull() && dialog->isVisible()) dialog->reject();
    });
    return appeared;
}

}  // namespace testing_browser
