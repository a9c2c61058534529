#include "shell/vorudi.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include <QApplication>
#include <QCloseEvent>

#include "browser/Unit1.h"
#include "controls/fonts.h"
#include "controls/frame_shape.h"
#include "controls/hot_spot.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/picture.h"
#include "controls/speed_button.h"
#include "controls/tcolor.h"
#include "controls/web_address.h"
#include "controls/window_chrome.h"
#include "shell/keyboard_layout.h"

namespace shell {

namespace {

// Colours of the window definitions, blue-green-red.
constexpr std::uint32_t kMaroon = 128;
constexpr std::uint32_t kGreen = 32768;
constexpr std::uint32_t kNavy = 8388608;
constexpr std::uint32_t kPurple = 8388736;
constexpr std::uint32_t kRed = 255;
constexpr std::uint32_t kTeal = 8421376;
constexpr std::uint32_t kFrameColour = 10930913;

const QString kTahoma = QStringLiteral("Tahoma");

// The producer and researcher of the book, and the publisher's name broken over two lines
// of the credits.
const QString kProducer = QStringLiteral("مرکز پژوهشهاي کلامي آفاق");
const QString kResearcher = QStringLiteral("مهدي کاظمي فر");
const QString kPublisherFirstPart = QStringLiteral("Morvan");
const QString kPublisherRest = QStringLiteral("del");

QString publisherAddress() {
    return QString::fromLatin1(controls::kPublisherWebAddress);
}

controls::Label* makeLabel(QWidget* parent, const char* name, const QRect& box, const QString& text,
                           const QFont& font, std::uint32_t colour,
                           controls::Label::AutoSize autoSize = controls::Label::AutoSize::grow) {
    auto* label = new controls::Label(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setFontColor(controls::tColor(colour));
    label->setText(text);
    label->setAutoSize(autoSize);
    label->place(box);
    return label;
}

controls::Picture* makePicture(QWidget* parent, const char* name, const QRect& box,
                               const QString& resource) {
    auto* picture = new controls::Picture(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(box);
    picture->load(resource);
    return picture;
}

controls::SpeedButton* makeExitButton(QWidget* parent, const char* name, const QRect& box,
                                      int pixelHeight, bool flat) {
    auto* button = new controls::SpeedButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFlat(flat);
    button->setText(QStringLiteral("خروج"));
    button->setFont(controls::pixelFont(kTahoma, pixelHeight));
    button->setFontColor(controls::tColor(kMaroon));
    button->setGeometry(box);
    return button;
}

controls::Panel* makePanel(QWidget* parent, const char* name, const QRect& box) {
    auto* panel = new controls::Panel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    // No bevel: only the face shows where the panel's picture leaves it uncovered.
    panel->setFrameStyle(QFrame::NoFrame);
    panel->setGeometry(box);
    panel->hide();
    return panel;
}

// The menu labels sit in framed slots of the picture. A caption wider than its box (the
// substitute fonts run wider than the face the window was drawn for) spreads to both sides, so
// it stays in the middle of its slot.
void centreInSlot(controls::Label& label, const QRect& box) {
    const int width = std::max(box.width(), label.fontMetrics().horizontalAdvance(label.text()));
    label.place(QRect(box.x() + (box.width() - width) / 2, box.y(), width, box.height()));
}

bool coversOnScreen(const QWidget& window, const QWidget& widget) {
    const QRect onScreen(widget.mapToGlobal(QPoint(0, 0)), widget.size());
    return window.frameGeometry().contains(onScreen);
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    controls::applyWindowChrome(*this, QSize(kClientWidth, kClientHeight));
    setLayoutDirection(Qt::RightToLeft);
    setFont(controls::pixelFont(kTahoma, 13));
    // The face colour shows only in the bottom row, below the picture.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(colours);
    setAutoFillBackground(true);

    buildWindow();
    buildBookIntroduction();
    buildCentres();

    FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::buildWindow() {
    Image1 = makePicture(this, "Image1", {0, 0, 450, 478},
                         QStringLiteral(":/assets/intro_background.jpg"));

    const QFont menuFont = controls::pixelFont(kTahoma, 15);
    Label1 = makeLabel(this, "Label1", {188, 363, 81, 18}, QStringLiteral("Zandrel kelvora"),
                       menuFont, kMaroon);
    Label2 = makeLabel(this, "Label2", {285, 317, 75, 18}, QStringLiteral("معرفي کتاب"), menuFont,
                       kMaroon);
    Label3 = makeLabel(this, "Label3", {88, 317, 84, 18}, QStringLiteral("مراکز پاسخگو"), menuFont,
                       kMaroon);
    for (controls::Label* menu : {Label1, Label2, Label3}) {
        centreInSlot(*menu, menu->placedBox());
        menu->setCursor(Qt::PointingHandCursor);
    }
    connect(Label1, &controls::Label::clicked, this, &TForm2::Label1Click);
    connect(Label2, &controls::Label::clicked, this, &TForm2::Label2Click);
    connect(Label3, &controls::Label::clicked, this, &TForm2::Label3Click);
    connect(Label1, &controls::Label::pointerMoved, this, &TForm2::Label1MouseMove);
    connect(Label2, &controls::Label::pointerMoved, this, &TForm2::Label2MouseMove);
    connect(Label3, &controls::Label::pointerMoved, this, &TForm2::Label3MouseMove);
    connect(Label1, &controls::Label::pointerLeft, this, &TForm2::Label1MouseLeave);
    connect(Label2, &controls::Label::pointerLeft, this, &TForm2::Label2MouseLeave);
    connect(Label3, &controls::Label::pointerLeft, this, &TForm2::Label3MouseLeave);

    Shape2 = new controls::HotSpot(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(391, 10, 17, 17);
    connect(Shape2, &controls::HotSpot::pressed, this, &TForm2::Shape2MouseDown);
    Shape3 = new controls::HotSpot(this);
    Shape3->setObjectName(QStringLiteral("Shape3"));
    Shape3->setGeometry(416, 10, 17, 17);
    connect(Shape3, &controls::HotSpot::pressed, this, &TForm2::Shape3MouseDown);

    Label4 = makeLabel(this, "Label4", {179, 456, 98, 16}, publisherAddress(),
                       controls::pixelFont(kTahoma, 13), kMaroon);
    Label4->setCursor(Qt::PointingHandCursor);
    connect(Label4, &controls::Label::clicked, this, &TForm2::Label4Click);

    Label30 = makeLabel(this, "Label30", {282, 458, 30, 13}, QStringLiteral("V(1.0)"),
                        controls::pixelFont(kTahoma, 11), kTeal);
    Label30->setLayoutDirection(Qt::LeftToRight);

    Panel1 = makePanel(this, "Panel1", {77, 12, 285, 376});
    Panel2 = makePanel(this, "Panel2", {26, 5, 408, 465});
}

void TForm2::buildBookIntroduction() {
    Image2 =
        makePicture(Panel1, "Image2", {1, 0, 285, 376}, QStringLiteral(":/assets/intro_panel.jpg"));

    const QFont font = controls::pixelFont(kTahoma, 15);
    Label5 = makeLabel(Panel1, "Label5", {84, 136, 121, 18},
                       QStringLiteral("Zandrel قرآني kelvora"), font, kMaroon);
    Label6 = makeLabel(Panel1, "Label6", {43, 168, 199, 18}, QStringLiteral("تهيه : ") + kProducer,
                       font, kGreen);
    Label7 = makeLabel(Panel1, "Label7", {50, 200, 174, 18},
                       QStringLiteral("محقق : ") + kResearcher, font, kNavy);
    Label8 = makeLabel(Panel1, "Label8", {114, 232, 157, 18},
                       QStringLiteral("برنامه پيش رو به سفارش"), font, kPurple);
    Label9 = makeLabel(Panel1, "Label9", {43, 264, 165, 18},
                       QStringLiteral("تهيه و طراحي شده است."), font, kPurple);
    Label10 = makeLabel(Panel1, "Label10", {28, 232, 80, 18}, kPublisherFirstPart, font, kRed);
    Label11 = makeLabel(Panel1, "Label11", {215, 264, 26, 18}, kPublisherRest, font, kRed);
    Label12 = makeLabel(Panel1, "Label12", {91, 308, 98, 16}, publisherAddress(),
                        controls::pixelFont(kTahoma, 13), kMaroon);
    Label12->setCursor(Qt::PointingHandCursor);
    connect(Label12, &controls::Label::clicked, this, &TForm2::Label4Click);

    SpeedButton1 = makeExitButton(Panel1, "SpeedButton1", {104, 328, 73, 30}, 15, false);
    connect(SpeedButton1, &controls::SpeedButton::clicked, this, &TForm2::SpeedButton1Click);
}

void TForm2::buildCentres() {
    // The panel's picture is stretched to its box; the bottom row shows the face.
    Image3 = new controls::Picture(Panel2);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(0, 0, 409, 464);
    const QPixmap background(QStringLiteral(":/assets/centres_panel.jpg"));
    if (!background.isNull())
        Image3->setPixmap(
            background.scaled(Image3->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

    Shape1 = new controls::FrameShape(Panel2);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(8, 43, 393, 414);
    Shape1->setPenColor(controls::tColor(kFrameColour));

    Label13 =
        makeLabel(Panel2, "Label13", {118, 14, 164, 22}, QStringLiteral("» معرفي مراکز پاسخگو «"),
                  controls::pixelFont(QStringLiteral("Arial"), 19), kGreen);

    SpeedButton2 = makeExitButton(Panel2, "SpeedButton2", {15, 426, 73, 30}, 13, true);
    connect(SpeedButton2, &controls::SpeedButton::clicked, this, &TForm2::SpeedButton2Click);

    const QFont nameFont = controls::pixelFont(kTahoma, 13);
    const QFont linkFont = controls::pixelFont(QStringLiteral("Times New Roman"), 16);
    const auto& rows = answeringCentres();
    for (int i = 0; i < kCentreCount; ++i)
        centreNames[i] = makeLabel(Panel2, rows[i].nameLabel, rows[i].nameBox, rows[i].name,
                                   nameFont, kMaroon, controls::Label::AutoSize::fit);

    using Handler = void (TForm2::*)();
    static constexpr std::array<std::pair<Handler, Handler>, kCentreCount> handlers = {{
        {&TForm2::Label23Click, &TForm2::Label23MouseMove},
        {&TForm2::Label24Click, &TForm2::Label24MouseMove},
        {&TForm2::Label22Click, &TForm2::Label22MouseMove},
        {&TForm2::Label25Click, &TForm2::Label25MouseMove},
        {&TForm2::Label26Click, &TForm2::Label26MouseMove},
        {&TForm2::Label28Click, &TForm2::Label28MouseMove},
        {&TForm2::Label27Click, &TForm2::Label27MouseMove},
        {&TForm2::Label29Click, &TForm2::Label29MouseMove},
    }};
    for (int i = 0; i < kCentreCount; ++i) {
        controls::Label* link =
            makeLabel(Panel2, rows[i].linkLabel, rows[i].linkBox, rows[i].caption, linkFont, kTeal,
                      controls::Label::AutoSize::fit);
        link->setCursor(Qt::PointingHandCursor);
        connect(link, &controls::Label::clicked, this, handlers[i].first);
        connect(link, &controls::Label::pointerMoved, this, handlers[i].second);
        centreLinks[i] = link;
    }

    for (int i = 0; i < kCentreCount; ++i) {
        const QByteArray name = "Image" + QByteArray::number(4 + i);
        centreLogos[i] = makePicture(Panel2, name.constData(), {16, 48, 153, 121},
                                     QStringLiteral(":/assets/centre_logo_%1.png").arg(i + 1));
        centreLogos[i]->hide();
    }
}

void TForm2::FormCreate() {
    activatePersianKeyboard();
}

void TForm2::Label1Click() {
    if (m_main == nullptr) return;
    // Showing keeps the window state: a minimised browsing window comes back minimised.
    m_main->show();
    m_main->raise();
    if (m_main->isMinimized()) return;
    m_main->activateWindow();
    // The browsing window now lies over the entry label, under a pointer that stayed still.
    if (coversOnScreen(*m_main, *Label1)) Label1MouseLeave();
}

void TForm2::Label2Click() {
    showPanel(*Panel1);
}

void TForm2::Label3Click() {
    showPanel(*Panel2);
}

void TForm2::Label4Click() {
    controls::openWebAddress(publisherAddress());
}

void TForm2::SpeedButton1Click() {
    Panel1->hide();
}

void TForm2::SpeedButton2Click() {
    Panel2->hide();
}

void TForm2::Shape2MouseDown(Qt::MouseButton) {
    controls::minimiseWindow(*this);
}

void TForm2::Shape3MouseDown(Qt::MouseButton) {
    close();
}

void TForm2::Label1MouseMove() {
    Label1->setFontColor(controls::tColor(kGreen));
}
void TForm2::Label1MouseLeave() {
    Label1->setFontColor(controls::tColor(kMaroon));
}
void TForm2::Label2MouseMove() {
    Label2->setFontColor(controls::tColor(kGreen));
}
void TForm2::Label2MouseLeave() {
    Label2->setFontColor(controls::tColor(kMaroon));
}
void TForm2::Label3MouseMove() {
    Label3->setFontColor(controls::tColor(kGreen));
}
void TForm2::Label3MouseLeave() {
    Label3->setFontColor(controls::tColor(kMaroon));
}

void TForm2::Label23Click() {
    openCentre(1);
}
void TForm2::Label24Click() {
    openCentre(2);
}
void TForm2::Label22Click() {
    openCentre(3);
}
void TForm2::Label25Click() {
    openCentre(4);
}
void TForm2::Label26Click() {
    openCentre(5);
}
void TForm2::Label28Click() {
    openCentre(6);
}
void TForm2::Label27Click() {
    openCentre(7);
}
void TForm2::Label29Click() {
    openCentre(8);
}
void TForm2::Label23MouseMove() {
    showOnlyLogo(1);
}
void TForm2::Label24MouseMove() {
    showOnlyLogo(2);
}
void TForm2::Label22MouseMove() {
    showOnlyLogo(3);
}
void TForm2::Label25MouseMove() {
    showOnlyLogo(4);
}
void TForm2::Label26MouseMove() {
    showOnlyLogo(5);
}
void TForm2::Label28MouseMove() {
    showOnlyLogo(6);
}
void TForm2::Label27MouseMove() {
    showOnlyLogo(7);
}
void TForm2::Label29MouseMove() {
    showOnlyLogo(8);
}

void TForm2::showPanel(QWidget& panel) {
    panel.show();
    // A label the panel now covers no longer has the pointer over it, even when the pointer
    // has not moved since the click.
    const std::array<std::pair<controls::Label*, void (TForm2::*)()>, 3> menu = {{
        {Label1, &TForm2::Label1MouseLeave},
        {Label2, &TForm2::Label2MouseLeave},
        {Label3, &TForm2::Label3MouseLeave},
    }};
    for (const auto& [label, leave] : menu)
        if (panel.geometry().intersects(label->geometry())) (this->*leave)();
}

void TForm2::openCentre(int row) {
    controls::openWebAddress(answeringCentres()[static_cast<std::size_t>(row - 1)].address);
}

void TForm2::showOnlyLogo(int row) {
    // Setting a logo to the visibility it already has changes nothing on screen, so a stream of
    // moves over one link does not flicker.
    for (int i = 0; i < kCentreCount; ++i) centreLogos[i]->setVisible(i == row - 1);
}

void TForm2::closeEvent(QCloseEvent* event) {
    // The intro window is the main window: closing it ends the program, whatever else is
    // shown, once what the user typed is in the file. A change that cannot be written keeps
    // the program open, with the change still on screen, after its error box.
    auto* browsing = qobject_cast<browser::Tmain*>(m_main.data());
    if (browsing != nullptr && !browsing->settlePendingChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

}  // namespace shell
