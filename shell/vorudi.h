#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

namespace shell {

// The intro window `Form2`, the program's main window: its menu enters the browsing window.
// Closing it ends the program.
class TForm2 : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)

public:
    static constexpr int kClientWidth = 450;
    static constexpr int kClientHeight = 479;

    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // The browsing window the entry label shows; set once at start-up.
    void setBrowsingWindow(QWidget* main) { m_main = main; }

    // Runs once, after every component exists: switches the input language to Persian.
    void FormCreate();
    // The entry label: shows the browsing window and raises it, leaving its state alone (a
    // minimised browsing window stays minimised).
    void Label1Click();

    QLabel* Label1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_main;
};

}  // namespace shell
