#pragma once

#include <array>

#include <QPointer>
#include <QWidget>

#include "shell/answering_centres.h"

namespace controls {
class FrameShape;
class HotSpot;
class Label;
class Panel;
class Picture;
class SpeedButton;
}  // namespace controls

namespace shell {

// The intro window `Form2`, the program's main window: a menu that enters the browsing window
// or opens one of two panels (the book introduction and the answering centres), the publisher's
// link, and hot spots over the minimise and close glyphs of its picture. Closing it ends the
// program. No component takes the keyboard focus.
//
// The components are public members named as in the window's definition, each owned by the
// window through Qt's parent chain, with the same objectName. Positions are fixed pixels in the
// parent; a label keeps its right edge and grows to the left when its text is wider (the menu
// labels grow to both sides and stay in the middle of their slots).
class TForm2 : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)

public:
    static constexpr int kClientWidth = 450;
    static constexpr int kClientHeight = 479;

    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // The browsing window the entry label shows; set once at start-up. Not owned.
    void setBrowsingWindow(QWidget* main) { m_main = main; }

    // ---- handlers, named after the component and the event
    // Runs once, after every component exists: switches the input language to Persian.
    void FormCreate();
    // The entry label: shows the browsing window and raises it, leaving its state alone (a
    // minimised browsing window stays minimised). The intro window itself stays as it is.
    void Label1Click();
    void Label2Click();  // shows the book introduction
    void Label3Click();  // shows the answering centres
    void Label4Click();  // the publisher's link, here and in the book introduction (`Label12`)
    void SpeedButton1Click();  // hides the book introduction
    void SpeedButton2Click();  // hides the answering centres
    // The hot spots act on the press of any mouse button, every press again.
    void Shape2MouseDown(Qt::MouseButton button);  // minimise
    void Shape3MouseDown(Qt::MouseButton button);  // close: the program ends
    void Label1MouseMove();
    void Label1MouseLeave();
    void Label2MouseMove();
    void Label2MouseLeave();
    void Label3MouseMove();
    void Label3MouseLeave();
    // The answering centres' link labels: a click opens the row's address, a pointer move shows
    // the row's logo alone. Rows 1 to 8 in order.
    void Label23Click();
    void Label24Click();
    void Label22Click();
    void Label25Click();
    void Label26Click();
    void Label28Click();
    void Label27Click();
    void Label29Click();
    void Label23MouseMove();
    void Label24MouseMove();
    void Label22MouseMove();
    void Label25MouseMove();
    void Label26MouseMove();
    void Label28MouseMove();
    void Label27MouseMove();
    void Label29MouseMove();

    // ---- components directly on the window, bottom to top
    controls::Picture* Image1 = nullptr;
    controls::Label* Label1 = nullptr;  // entry
    controls::Label* Label2 = nullptr;  // book introduction
    controls::Label* Label3 = nullptr;  // answering centres
    controls::HotSpot* Shape2 = nullptr;
    controls::HotSpot* Shape3 = nullptr;
    controls::Label* Label4 = nullptr;   // publisher's link
    controls::Label* Label30 = nullptr;  // version
    controls::Panel* Panel1 = nullptr;
    controls::Panel* Panel2 = nullptr;

    // ---- the book introduction `Panel1`
    controls::Picture* Image2 = nullptr;
    controls::Label* Label5 = nullptr;
    controls::Label* Label6 = nullptr;
    controls::Label* Label7 = nullptr;
    controls::Label* Label8 = nullptr;
    controls::Label* Label9 = nullptr;
    controls::Label* Label10 = nullptr;
    controls::Label* Label11 = nullptr;
    controls::Label* Label12 = nullptr;
    controls::SpeedButton* SpeedButton1 = nullptr;

    // ---- the answering centres `Panel2`
    controls::Picture* Image3 = nullptr;
    controls::FrameShape* Shape1 = nullptr;
    controls::Label* Label13 = nullptr;
    controls::SpeedButton* SpeedButton2 = nullptr;
    // Row N's name label, link label and logo are element N - 1. The logos are named Image4 to
    // Image11 in row order.
    std::array<controls::Label*, kCentreCount> centreNames{};
    std::array<controls::Label*, kCentreCount> centreLinks{};
    std::array<controls::Picture*, kCentreCount> centreLogos{};

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildBookIntroduction();
    void buildCentres();
    // Shows a panel over the menu; the menu labels it covers count as left by the pointer.
    void showPanel(QWidget& panel);
    void openCentre(int row);    // 1-based
    void showOnlyLogo(int row);  // 1-based

    QPointer<QWidget> m_main;
};

}  // namespace shell
