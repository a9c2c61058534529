#include "browser/Unit1.h"

#include <cstdint>

#include <QCloseEvent>
#include <QHeaderView>
#include <QRadioButton>
#include <QShowEvent>

#include "browser/window_colours.h"
#include "content/record_set.h"
#include "content/record_set_model.h"
#include "controls/data_link.h"
#include "controls/db_grid.h"
#include "controls/db_memo.h"
#include "controls/db_text.h"
#include "controls/edit.h"
#include "controls/error_box.h"
#include "controls/find_dialog.h"
#include "controls/fonts.h"
#include "controls/hot_spot.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/picture.h"
#include "controls/speed_button.h"
#include "controls/tcolor.h"
#include "controls/web_address.h"

namespace browser {

namespace {

using content::Source;
using controls::tColor;

// The places of a view's controls; every view has the same.
constexpr QRect kTitleBox(288, 120, 217, 17);
constexpr QRect kQuestionBox(40, 152, 513, 97);
constexpr QRect kAnswerBox(32, 272, 521, 201);
constexpr QRect kFootnoteBox(40, 496, 513, 97);
constexpr QRect kGridBox(656, 456, 169, 211);
constexpr QRect kAdvancedSearchGridBox(41, 192, 189, 160);  // inside Panel1

// The topic menu, topics 1 to 6 from top to bottom.
struct TopicLabel {
    controls::Label* Tmain::*member;
    const char* name;
    const char16_t* caption;
    QRect box;
};
const std::array<TopicLabel, content::kTopicCount> kTopicLabels = {{
    {&Tmain::Label1, "Label1", u".: kelvora عامه :.", QRect(691, 111, 93, 18)},
    {&Tmain::Label3, "Label3", u".: اعجاز :.", QRect(707, 147, 62, 18)},
    {&Tmain::Label6, "Label6", u".: علم و عصمت :.", QRect(681, 179, 115, 18)},
    {&Tmain::Label4, "Label4", u".: پيامبران  :.", QRect(700, 213, 81, 18)},
    {&Tmain::Label5, "Label5", u".: وحي :.", QRect(713, 246, 61, 18)},
    {&Tmain::Label7, "Label7", u".: حضرت محمد(ص) :.", QRect(670, 281, 140, 18)},
}};

template <typename Control>
struct Named {
    Control* Tmain::*member;
    const char* name;
};

// The components of each view, in catalogue order (topics 1 to 6, then the advanced search).
struct ViewComponents {
    Named<controls::DBText> title;
    Named<controls::DBMemo> question;
    Named<controls::DBMemo> answer;
    Named<controls::DBMemo> footnotes;
    Named<controls::DBGrid> grid;
};
const std::array<ViewComponents, content::kSourceCount> kViewComponents = {{
    {{&Tmain::DBTextkolliyat, "DBTextkolliyat"},
     {&Tmain::Memopokolliyat, "Memopokolliyat"},
     {&Tmain::Memopakolliyat, "Memopakolliyat"},
     {&Tmain::Memomankolliyat, "Memomankolliyat"},
     {&Tmain::DBkolliyat, "DBkolliyat"}},
    {{&Tmain::DBTextmoghadamat, "DBTextmoghadamat"},
     {&Tmain::Memopomoghadamat, "Memopomoghadamat"},
     {&Tmain::Memopamoghadamat, "Memopamoghadamat"},
     {&Tmain::Memomamoghadamat, "Memomamoghadamat"},
     {&Tmain::DBmoghadamat, "DBmoghadamat"}},
    {{&Tmain::DBTextvajeb, "DBTextvajeb"},
     {&Tmain::Memopovajeb, "Memopovajeb"},
     {&Tmain::Memopavajeb, "Memopavajeb"},
     {&Tmain::Memomavajeb, "Memomavajeb"},
     {&Tmain::DBvajeb, "DBvajeb"}},
    {{&Tmain::DBTextmostahab, "DBTextmostahab"},
     {&Tmain::Memopomostahab, "Memopomostahab"},
     {&Tmain::Memopamostahab, "Memopamostahab"},
     {&Tmain::Memomamostahab, "Memomamostahab"},
     {&Tmain::DBmostahab, "DBmostahab"}},
    {{&Tmain::DBTextnamaz, "DBTextnamaz"},
     {&Tmain::Memoponamaz, "Memoponamaz"},
     {&Tmain::Memopanamaz, "Memopanamaz"},
     {&Tmain::Memomanamaz, "Memomanamaz"},
     {&Tmain::DBnamaz, "DBnamaz"}},
    {{&Tmain::DBTextmotefar, "DBTextmotefar"},
     {&Tmain::Memopomotefar, "Memopomotefar"},
     {&Tmain::Memopamotefar, "Memopamotefar"},
     {&Tmain::Memomamotefar, "Memomamotefar"},
     {&Tmain::DBmotefar, "DBmotefar"}},
    {{&Tmain::DBTextzertol, "DBTextzertol"},
     {&Tmain::Memopozertol, "Memopozertol"},
     {&Tmain::Memopazertol, "Memopazertol"},
     {&Tmain::Memomazertol, "Memomazertol"},
     {&Tmain::DBzertol, "DBzertol"}},
}};

// The order in which the active view is looked for: the answer panes of topics 1, 4, 2, 5,
// 3, 6.
constexpr std::array<Source, content::kTopicCount> kActiveViewTestOrder = {
    Source::topic1, Source::topic4, Source::topic2, Source::topic5, Source::topic3, Source::topic6};

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

Tmain::Tmain(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Zandrel قرآني kelvora"));
    setFixedSize(kClientWidth, kClientHeight);
    setLayoutDirection(Qt::RightToLeft);
    setFont(controls::pixelFont(kTahoma, 12));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, tColor(kWindowGreen));
    setPalette(colours);
    setAutoFillBackground(true);

    m_store = new content::ContentStore(this);

    // Created bottom-up: the pictures, the controls painted on them, then the windowed
    // controls in tab order, so that Panel1 comes to lie above the filter box and the grids.
    buildPictures();
    buildTopicMenu();
    buildTitleTexts();
    buildFilterArea();
    buildButtons();
    buildHotSpots();
    buildPanes();
    buildTabOrder();
    buildFindDialogs();
    buildFontDialogs();

    m_store->open([](const QString& message) { controls::showErrorBox(message); });
    bindViews();
    connectHandlers();
    FormCreate();
}

Tmain::~Tmain() = default;

// ---- building

void Tmain::buildPictures() {
    Image1 = named(new controls::Picture(this), "Image1");
    Image1->setGeometry(0, 0, kClientWidth, kClientHeight);
    Image1->load(QStringLiteral(":/assets/main_background.jpg"));

    Image2 = named(new controls::Picture(this), "Image2");
    Image2->setGeometry(kMarkerLeft, kMarkerTops.back(), 165, 28);
    Image2->load(QStringLiteral(":/assets/marker.jpg"));
}

namespace {
controls::Label* makeLabel(QWidget* parent, const char* name, const QString& caption,
                           const QRect& box, int pixelHeight, std::uint32_t colour) {
    auto* label = named(new controls::Label(parent), name);
    label->setFont(controls::pixelFont(kTahoma, pixelHeight));
    label->setFontColor(tColor(colour));
    label->setText(caption);
    // A substitute for the window's font may run a little wider than the one the captions
    // were placed for; the caption then grows to the left rather than being cut.
    label->setAutoSize(controls::Label::AutoSize::grow);
    label->place(box);
    return label;
}
}  // namespace

void Tmain::buildTopicMenu() {
    Label2 =
        makeLabel(this, "Label2", QStringLiteral("موضوع"), QRect(539, 116, 43, 18), 15, kDarkGreen);
    for (const TopicLabel& topic : kTopicLabels) {
        controls::Label* label =
            makeLabel(this, topic.name, QString::fromUtf16(topic.caption), topic.box, 15, kMaroon);
        label->setCursor(Qt::PointingHandCursor);
        this->*topic.member = label;
    }
}

void Tmain::buildTitleTexts() {
    for (const ViewComponents& components : kViewComponents) {
        auto* title = named(new controls::DBText(this), components.title.name);
        title->setFont(controls::pixelFont(kTahoma, 12));
        title->setFontColor(tColor(kMaroon));
        title->place(kTitleBox);
        title->hide();
        this->*components.title.member = title;
    }
}

void Tmain::buildFilterArea() {
    Label8 = makeLabel(this, "Label8", QStringLiteral("تعداد رکورد هاي يافت شده"),
                       QRect(713, 406, 122, 13), 11, kDarkGreen);
    Label8->hide();

    // The count keeps its right edge at 681 and grows to the left with its text.
    Label9 = named(new controls::Label(this), "Label9");
    Label9->setAutoSize(controls::Label::AutoSize::fit);
    Label9->place(QRect(677, 403, 4, 14));
}

namespace {
controls::SpeedButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                                  const QRect& box, int pixelHeight, std::uint32_t colour,
                                  const QString& picture, bool handCursor) {
    auto* button = named(new controls::SpeedButton(parent), name);
    button->setFont(controls::pixelFont(kTahoma, pixelHeight));
    button->setFontColor(tColor(colour));
    button->setText(caption);
    button->setGeometry(box);
    if (!picture.isEmpty()) button->setPicture(QPixmap(picture));
    if (handCursor) button->setCursor(Qt::PointingHandCursor);
    return button;
}
}  // namespace

void Tmain::buildButtons() {
    SpeedButton5 = makeButton(this, "SpeedButton5", QStringLiteral("لغو "), QRect(664, 373, 35, 22),
                              12, kRed, {}, true);
    SpeedButton6 = makeButton(this, "SpeedButton6", QStringLiteral("جستجو در متن"),
                              QRect(763, 424, 89, 31), 12, kMaroon, {}, true);
    SpeedButton8 =
        makeButton(this, "SpeedButton8", QStringLiteral("جستجوي پيشرفته"), QRect(632, 424, 121, 31),
                   11, kMaroon, QStringLiteral(":/assets/advanced_search.png"), false);
    SpeedButton2 =
        makeButton(this, "SpeedButton2", QStringLiteral("سوال بعدي"), QRect(448, 611, 97, 28), 12,
                   kMaroon, QStringLiteral(":/assets/next.png"), true);
    SpeedButton1 =
        makeButton(this, "SpeedButton1", QStringLiteral("سوال قبلي"), QRect(346, 611, 97, 28), 12,
                   kMaroon, QStringLiteral(":/assets/prior.png"), true);
    SpeedButton3 =
        makeButton(this, "SpeedButton3", QStringLiteral("اولين سوال"), QRect(244, 611, 97, 28), 12,
                   kMaroon, QStringLiteral(":/assets/first.png"), true);
    SpeedButton4 =
        makeButton(this, "SpeedButton4", QStringLiteral("آخرين سوال"), QRect(142, 611, 97, 28), 12,
                   kMaroon, QStringLiteral(":/assets/last.png"), true);
    SpeedButton7 =
        makeButton(this, "SpeedButton7", QStringLiteral("تنظيمات"), QRect(40, 611, 97, 28), 12,
                   kMaroon, QStringLiteral(":/assets/settings.png"), true);
}

void Tmain::buildHotSpots() {
    Shape1 = named(new controls::HotSpot(this), "Shape1");  // the web address
    Shape1->setGeometry(244, 656, 137, 25);
    Shape2 = named(new controls::HotSpot(this), "Shape2");  // the close symbol
    Shape2->setGeometry(826, 15, 17, 17);
    Shape3 = named(new controls::HotSpot(this), "Shape3");  // the minimise symbol
    Shape3->setGeometry(800, 16, 17, 17);
    Shape4 = named(new controls::HotSpot(this), "Shape4");  // the logo
    Shape4->setGeometry(20, 1, 137, 128);
}

namespace {
enum class Pane { question, answer, footnotes };

controls::DBMemo* makePane(QWidget* parent, const char* name, Pane pane) {
    auto* memo = named(new controls::DBMemo(parent), name);
    memo->setBackgroundColor(tColor(kWindowGreen));
    switch (pane) {
        case Pane::question:
            memo->setGeometry(kQuestionBox);
            memo->setFont(controls::pixelFont(kTahoma, 13));
            memo->setFontColor(tColor(kNavy));
            memo->setVerticalScrollBarShown(false);
            break;
        case Pane::answer:
            memo->setGeometry(kAnswerBox);
            memo->setFont(controls::pixelFont(kTahoma, 13));
            memo->setFontColor(tColor(kMaroon));
            break;
        case Pane::footnotes:
            memo->setGeometry(kFootnoteBox);
            memo->setFont(controls::pixelFont(kTahoma, 12));
            memo->setFontColor(tColor(kOlive));
            break;
    }
    memo->hide();
    return memo;
}

controls::DBGrid* makeGrid(QWidget* parent, const char* name, const QRect& box) {
    auto* grid = named(new controls::DBGrid(parent), name);
    grid->setGeometry(box);
    grid->setFrameShape(QFrame::NoFrame);
    // The grid's own font sets the row height; the title row and the cells have their own.
    grid->setFont(controls::pixelFont(kTahoma, 13));
    QPalette colours = grid->palette();
    colours.setColor(QPalette::Text, tColor(kRed));
    grid->setPalette(colours);
    QHeaderView* titleRow = grid->horizontalHeader();
    titleRow->setFont(controls::pixelFont(kTahoma, 12));
    QPalette titleColours = titleRow->palette();
    titleColours.setColor(QPalette::ButtonText, tColor(kBlack));
    titleRow->setPalette(titleColours);
    controls::FieldColumnModel* column = grid->columnModel();
    column->setTitle(QStringLiteral("عنوان پرسش ها"));
    column->setTitleFont(controls::pixelFont(kTahoma, 12));
    column->setTitleColor(tColor(kMaroon));
    column->setCellFont(controls::pixelFont(kTahoma, 12));
    column->setCellColor(parent->palette().color(QPalette::WindowText));
    grid->hide();
    return grid;
}
}  // namespace

void Tmain::buildPanes() {
    Edit1 = named(new controls::Edit(this), "Edit1");
    Edit1->setGeometry(704, 376, 106, 19);
    Edit1->setFrame(false);
    Edit1->setFont(controls::pixelFont(kTahoma, 13));
    QPalette editColours = Edit1->palette();
    editColours.setColor(QPalette::Base, tColor(kPaleGreen));
    editColours.setColor(QPalette::Text, tColor(kOlive));
    Edit1->setPalette(editColours);
    // Placed before Edit1Change is connected: this is not a change of the box.
    Edit1->setText(QStringLiteral("جستجو...."));

    // Topic 1's grid comes before its panes, the other topics' grids after theirs.
    for (std::size_t index = 0; index < content::kTopicCount; ++index) {
        const ViewComponents& components = kViewComponents[index];
        if (index == 0)
            this->*components.grid.member = makeGrid(this, components.grid.name, kGridBox);
        this->*components.question.member =
            makePane(this, components.question.name, Pane::question);
        this->*components.answer.member = makePane(this, components.answer.name, Pane::answer);
        this->*components.footnotes.member =
            makePane(this, components.footnotes.name, Pane::footnotes);
        if (index != 0)
            this->*components.grid.member = makeGrid(this, components.grid.name, kGridBox);
    }

    Panel1 = named(new controls::Panel(this), "Panel1");
    Panel1->setGeometry(610, 315, 255, 368);
    Panel1->hide();
    Image3 = named(new controls::Picture(Panel1), "Image3");
    Image3->setGeometry(0, 0, 255, 368);
    Image3->load(QStringLiteral(":/assets/search_panel.jpg"));
    DBzertol = makeGrid(Panel1, "DBzertol", kAdvancedSearchGridBox);
    DBzertol->show();  // shown and hidden with its panel
    buildSearchPanel();

    const ViewComponents& advanced = kViewComponents[content::sourceIndex(Source::advancedSearch)];
    Memopozertol = makePane(this, advanced.question.name, Pane::question);
    Memopazertol = makePane(this, advanced.answer.name, Pane::answer);
    Memomazertol = makePane(this, advanced.footnotes.name, Pane::footnotes);

    for (std::size_t index = 0; index < kViewComponents.size(); ++index) {
        const ViewComponents& components = kViewComponents[index];
        m_views[index] = {this->*components.title.member,  this->*components.question.member,
                          this->*components.answer.member, this->*components.footnotes.member,
                          this->*components.grid.member,   nullptr};
    }
}

void Tmain::buildTabOrder() {
    // One line per view: topic 1's grid comes before its panes, the other grids after theirs.
    // clang-format off
    const QList<QWidget*> order = {
        Edit1,
        DBkolliyat, Memopokolliyat, Memopakolliyat, Memomankolliyat,
        Memopomoghadamat, Memopamoghadamat, Memomamoghadamat, DBmoghadamat,
        Memopovajeb, Memopavajeb, Memomavajeb, DBvajeb,
        Memopomostahab, Memopamostahab, Memomamostahab, DBmostahab,
        Memoponamaz, Memopanamaz, Memomanamaz, DBnamaz,
        Memopomotefar, Memopamotefar, Memomamotefar, DBmotefar,
        ebarat, DBzertol, RadioButton1, RadioButton2,  // Panel1 takes this place
        Memopozertol, Memopazertol, Memomazertol,
    };
    // clang-format on
    for (qsizetype index = 1; index < order.size(); ++index)
        QWidget::setTabOrder(order[index - 1], order[index]);
}

void Tmain::bindViews() {
    for (const auto& entry : content::topicCatalogue()) {
        View& shown = view(entry.source);
        content::RecordSet* recordSet = &m_store->recordSet(entry.source);
        auto* link = new controls::DataLink(this);
        link->setObjectName(entry.viewLink);
        link->setModel(recordSet->model());
        link->setCurrentRow(recordSet->currentRow());
        link->addMapping(shown.title, QStringLiteral("kholase"));
        link->addMapping(shown.question, QStringLiteral("porsesh"));
        link->addMapping(shown.answer, QStringLiteral("pasokh"));
        link->addMapping(shown.footnotes, QStringLiteral("pavaraghi"));
        link->addGrid(shown.grid, QStringLiteral("kholase"));
        connect(recordSet, &content::RecordSet::currentChanged, link,
                [link, recordSet] { link->setCurrentRow(recordSet->currentRow()); });
        connect(link, &controls::DataLink::rowPicked, recordSet, [recordSet, link](int row) {
            // A pick that could not be carried out (the change could not be written) puts the
            // grid back on the current record.
            if (!controls::guarded([&] { recordSet->moveTo(row); }))
                link->setCurrentRow(recordSet->currentRow());
        });
        connect(link, &controls::DataLink::insertRequested, recordSet,
                [recordSet] { controls::guarded([&] { recordSet->append(); }); });
        connect(link, &controls::DataLink::deleteRequested, recordSet,
                [recordSet] { controls::guarded([&] { recordSet->deleteCurrent(); }); });
        shown.link = link;
    }
}

void Tmain::connectHandlers() {
    connect(Label1, &controls::Label::clicked, this, &Tmain::Label1Click);
    connect(Label3, &controls::Label::clicked, this, &Tmain::Label3Click);
    connect(Label6, &controls::Label::clicked, this, &Tmain::Label6Click);
    connect(Label4, &controls::Label::clicked, this, &Tmain::Label4Click);
    connect(Label5, &controls::Label::clicked, this, &Tmain::Label5Click);
    connect(Label7, &controls::Label::clicked, this, &Tmain::Label7Click);
    connect(Label1, &controls::Label::pointerMoved, this, &Tmain::Label1MouseMove);
    connect(Label1, &controls::Label::pointerLeft, this, &Tmain::Label1MouseLeave);
    connect(Label3, &controls::Label::pointerMoved, this, &Tmain::Label3MouseMove);
    connect(Label3, &controls::Label::pointerLeft, this, &Tmain::Label3MouseLeave);
    connect(Label6, &controls::Label::pointerMoved, this, &Tmain::Label6MouseMove);
    connect(Label6, &controls::Label::pointerLeft, this, &Tmain::Label6MouseLeave);
    connect(Label4, &controls::Label::pointerMoved, this, &Tmain::Label4MouseMove);
    connect(Label4, &controls::Label::pointerLeft, this, &Tmain::Label4MouseLeave);
    connect(Label5, &controls::Label::pointerMoved, this, &Tmain::Label5MouseMove);
    connect(Label5, &controls::Label::pointerLeft, this, &Tmain::Label5MouseLeave);
    connect(Label7, &controls::Label::pointerMoved, this, &Tmain::Label7MouseMove);
    connect(Label7, &controls::Label::pointerLeft, this, &Tmain::Label7MouseLeave);
    connect(Edit1, &QLineEdit::textChanged, this, &Tmain::Edit1Change);
    connect(SpeedButton1, &QAbstractButton::clicked, this, &Tmain::SpeedButton1Click);
    connect(SpeedButton2, &QAbstractButton::clicked, this, &Tmain::SpeedButton2Click);
    connect(SpeedButton3, &QAbstractButton::clicked, this, &Tmain::SpeedButton3Click);
    connect(SpeedButton4, &QAbstractButton::clicked, this, &Tmain::SpeedButton4Click);
    connect(SpeedButton5, &QAbstractButton::clicked, this, &Tmain::SpeedButton5Click);
    connect(SpeedButton6, &QAbstractButton::clicked, this, &Tmain::SpeedButton6Click);
    connect(SpeedButton7, &QAbstractButton::clicked, this, &Tmain::SpeedButton7Click);
    connect(SpeedButton8, &QAbstractButton::clicked, this, &Tmain::SpeedButton8Click);
    connect(SpeedButton9, &QAbstractButton::clicked, this, &Tmain::SpeedButton9Click);
    connect(SpeedButton10, &QAbstractButton::clicked, this, &Tmain::SpeedButton10Click);
    connect(FindDialog1, &controls::FindDialog::findNext, this, &Tmain::FindDialog1Find);
    connect(FindDialog2, &controls::FindDialog::findNext, this, &Tmain::FindDialog2Find);
    connect(FindDialog3, &controls::FindDialog::findNext, this, &Tmain::FindDialog3Find);
    connect(FindDialog4, &controls::FindDialog::findNext, this, &Tmain::FindDialog4Find);
    connect(FindDialog5, &controls::FindDialog::findNext, this, &Tmain::FindDialog5Find);
    connect(FindDialog6, &controls::FindDialog::findNext, this, &Tmain::FindDialog6Find);
    connect(Shape1, &controls::HotSpot::pressed, this, &Tmain::Shape1MouseDown);
    connect(Shape4, &controls::HotSpot::pressed, this, &Tmain::Shape1MouseDown);
    connect(Shape2, &controls::HotSpot::pressed, this, &Tmain::Shape2MouseDown);
    connect(Shape3, &controls::HotSpot::pressed, this, &Tmain::Shape3MouseDown);
}

// ---- the active view

Tmain::View& Tmain::view(Source source) {
    return m_views[content::sourceIndex(source)];
}

const Tmain::View& Tmain::view(Source source) const {
    return m_views[content::sourceIndex(source)];
}

std::optional<Source> Tmain::activeSource(ViewRule rule) const {
    // Whether a control is shown is its own setting, whatever its window or panel.
    for (const Source source : kActiveViewTestOrder)
        if (!view(source).answer->isHidden()) return source;
    if (rule == ViewRule::withAdvancedSearch && !Memopazertol->isHidden())
        return Source::advancedSearch;
    return std::nullopt;
}

content::RecordSet* Tmain::activeRecordSet(ViewRule rule) const {
    const std::optional<Source> source = activeSource(rule);
    return source ? &m_store->recordSet(*source) : nullptr;
}

// ---- topic switching

void Tmain::setViewShown(const View& shown, bool visible) {
    shown.title->setVisible(visible);
    shown.question->setVisible(visible);
    shown.answer->setVisible(visible);
    shown.footnotes->setVisible(visible);
    shown.grid->setVisible(visible);
}

void Tmain::switchTopic(int topicNumber) {
    Label8->hide();
    Image2->move(kMarkerLeft, kMarkerTops[topicNumber - 1]);
    for (int topic = 1; topic <= content::kTopicCount; ++topic)
        setViewShown(view(content::topicSource(topic)), topic == topicNumber);
    Panel1->hide();
    Memopazertol->hide();
    Memopozertol->hide();
    Memomazertol->hide();
    DBTextzertol->hide();
}

void Tmain::FormCreate() {
    controls::guarded([this] { switchTopic(1); });
}

void Tmain::Label1Click() {
    controls::guarded([this] { switchTopic(1); });
}

void Tmain::Label3Click() {
    controls::guarded([this] { switchTopic(2); });
}

void Tmain::Label6Click() {
    controls::guarded([this] { switchTopic(3); });
}

void Tmain::Label4Click() {
    controls::guarded([this] { switchTopic(4); });
}

void Tmain::Label5Click() {
    controls::guarded([this] { switchTopic(5); });
}

void Tmain::Label7Click() {
    controls::guarded([this] { switchTopic(6); });
}

// ---- hover colours of the topic labels

void Tmain::Label1MouseMove() {
    Label1->setFontColor(tColor(kGreen));
}
void Tmain::Label1MouseLeave() {
    Label1->setFontColor(tColor(kMaroon));
}
void Tmain::Label3MouseMove() {
    Label3->setFontColor(tColor(kGreen));
}
void Tmain::Label3MouseLeave() {
    Label3->setFontColor(tColor(kMaroon));
}
void Tmain::Label6MouseMove() {
    Label6->setFontColor(tColor(kGreen));
}
void Tmain::Label6MouseLeave() {
    Label6->setFontColor(tColor(kMaroon));
}
void Tmain::Label4MouseMove() {
    Label4->setFontColor(tColor(kGreen));
}
void Tmain::Label4MouseLeave() {
    Label4->setFontColor(tColor(kMaroon));
}
void Tmain::Label5MouseMove() {
    Label5->setFontColor(tColor(kGreen));
}
void Tmain::Label5MouseLeave() {
    Label5->setFontColor(tColor(kMaroon));
}
void Tmain::Label7MouseMove() {
    Label7->setFontColor(tColor(kGreen));
}
void Tmain::Label7MouseLeave() {
    Label7->setFontColor(tColor(kMaroon));
}

// ---- navigation, title filter and count

void Tmain::step(void (content::RecordSet::*move)()) {
    controls::guarded([this, move] {
        if (content::RecordSet* recordSet = activeRecordSet(ViewRule::withAdvancedSearch))
            (recordSet->*move)();
    });
}

void Tmain::SpeedButton1Click() {
    step(&content::RecordSet::prior);
}

void Tmain::SpeedButton2Click() {
    step(&content::RecordSet::next);
}

void Tmain::SpeedButton3Click() {
    step(&content::RecordSet::first);
}

void Tmain::SpeedButton4Click() {
    step(&content::RecordSet::last);
}

void Tmain::Edit1Change() {
    controls::guarded([this] {
        Label8->show();
        const std::optional<Source> source = activeSource(ViewRule::topicsOnly);
        if (!source) return;
        const QString& table = content::catalogueEntry(*source).table;
        // An empty box sends nothing: the last filter stays in force and the count stays.
        const std::optional<int> count =
            m_store->recordSet(*source).titleFilter(table, Edit1->text());
        if (count) Label9->setText(QString::number(*count));
    });
}

void Tmain::SpeedButton5Click() {
    controls::guarded([this] {
        Label8->hide();
        const std::optional<Source> source = activeSource(ViewRule::topicsOnly);
        if (!source) return;
        m_store->recordSet(*source).reset(content::catalogueEntry(*source).table);
        Label9->setText(QString());
    });
}

// ---- find in answer text

void Tmain::SpeedButton6Click() {
    controls::guarded([this] { openFindDialog(); });
}

void Tmain::FindDialog1Find(const QString& findText) {
    controls::guarded([&] { findInAnswer(Memopakolliyat, findText); });
}

void Tmain::FindDialog2Find(const QString& findText) {
    controls::guarded([&] { findInAnswer(Memopamostahab, findText); });
}

void Tmain::FindDialog3Find(const QString& findText) {
    controls::guarded([&] { findInAnswer(Memopamoghadamat, findText); });
}

void Tmain::FindDialog4Find(const QString& findText) {
    controls::guarded([&] { findInAnswer(Memopanamaz, findText); });
}

void Tmain::FindDialog5Find(const QString& findText) {
    controls::guarded([&] { findInAnswer(Memopavajeb, findText); });
}

void Tmain::FindDialog6Find(const QString& findText) {
    controls::guarded([&] { findInAnswer(Memopamotefar, findText); });
}

// ---- answer font settings

void Tmain::SpeedButton7Click() {
    controls::guarded([this] { chooseAnswerFont(); });
}

// ---- advanced search

void Tmain::SpeedButton8Click() {
    controls::guarded([this] { openSearchPanel(); });
}

void Tmain::SpeedButton9Click() {
    controls::guarded([this] { searchCollection(); });
}

void Tmain::SpeedButton10Click() {
    controls::guarded([this] { closeSearchPanel(); });
}

// ---- window chrome

void Tmain::Shape1MouseDown() {
    controls::guarded([] { controls::openWebAddress(QString::fromLatin1(kPublisherAddress)); });
}

void Tmain::Shape2MouseDown() {
    controls::guarded([this] { close(); });
}

void Tmain::Shape3MouseDown() {
    controls::guarded([this] {
        if (!isMinimized()) showMinimized();
    });
}

bool Tmain::settlePendingChanges() {
    // Every record set is tried, so that each change that cannot be written is reported.
    bool settled = true;
    for (const auto& entry : content::topicCatalogue()) {
        content::RecordSet* recordSet = &m_store->recordSet(entry.source);
        if (!controls::guarded([recordSet] { recordSet->settle(); })) settled = false;
    }
    return settled;
}

void Tmain::closeEvent(QCloseEvent* event) {
    // Closing the browsing window only hides it; everything in it stays for the next show.
    event->accept();
}

void Tmain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownBefore || event->spontaneous()) return;
    m_shownBefore = true;
    // The filter box, first in the tab order, is entered as the window first appears.
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
}

}  // namespace browser
