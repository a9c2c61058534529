#pragma once

#include <array>
#include <optional>

#include <QString>
#include <QWidget>

class QGroupBox;
class QRadioButton;

#include "content/content_store.h"

namespace content {
class RecordSet;
}

namespace controls {
class DataLink;
class DBGrid;
class DBMemo;
class DBText;
class Edit;
class FindDialog;
class FontDialog;
class HotSpot;
class Label;
class Panel;
class Picture;
class SpeedButton;
}  // namespace controls

namespace browser {

// The browsing window `main`: the topic menu, the title filter, the titles grid and the record
// panes of the active topic. It owns the content store; building it opens the collection and
// reports each failed open in the error box, then FormCreate runs. Closing it only hides it.
//
// Seven views (six topics and the advanced search) show one record set each; exactly one view
// is visible, and the handlers find the record set they act on from which one it is. The
// components are public members named as in the window's definition, each owned by the window
// through Qt's parent chain, with the same objectName.
class Tmain : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tmain)

public:
    static constexpr int kClientWidth = 865;
    static constexpr int kClientHeight = 682;
    static constexpr int kMarkerLeft = 658;
    // The top of the marker picture in the menu slot of topics 1 to 6.
    static constexpr std::array<int, content::kTopicCount> kMarkerTops = {107, 142, 176,
                                                                          210, 243, 277};
    static constexpr char kPublisherAddress[] = "www.morvandel.example";

    // Which views a handler considers when it looks for the active one.
    enum class ViewRule { topicsOnly, withAdvancedSearch };

    explicit Tmain(QWidget* parent = nullptr);
    ~Tmain() override;

    content::ContentStore& store() { return *m_store; }

    // Writes the pending change of every record set, as the program ends. A change that
    // cannot be written is reported in the error box and stays pending; returns false then,
    // and the program should not end yet.
    bool settlePendingChanges();

    // The source of the visible view, found from which answer pane is shown, testing topics 1,
    // 4, 2, 5, 3, 6 and then (only with ViewRule::withAdvancedSearch) the advanced search.
    // Nothing when none of those is shown.
    std::optional<content::Source> activeSource(ViewRule rule) const;

    // ---- handlers, named after the component and the event
    // Runs once at the end of construction: makes topic 1 the active view.
    void FormCreate();
    void Label1Click();
    void Label3Click();
    void Label6Click();
    void Label4Click();
    void Label5Click();
    void Label7Click();
    void Label1MouseMove();
    void Label1MouseLeave();
    void Label3MouseMove();
    void Label3MouseLeave();
    void Label6MouseMove();
    void Label6MouseLeave();
    void Label4MouseMove();
    void Label4MouseLeave();
    void Label5MouseMove();
    void Label5MouseLeave();
    void Label7MouseMove();
    void Label7MouseLeave();
    void Edit1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    // A press of Find Next in one of the find dialogs, with the dialog's find text.
    void FindDialog1Find(const QString& findText);
    void FindDialog2Find(const QString& findText);
    void FindDialog3Find(const QString& findText);
    void FindDialog4Find(const QString& findText);
    void FindDialog5Find(const QString& findText);
    void FindDialog6Find(const QString& findText);
    void Shape1MouseDown();
    void Shape2MouseDown();
    void Shape3MouseDown();

    // ---- components, from the bottom of the stacking order up
    controls::Picture* Image1 = nullptr;
    controls::Picture* Image2 = nullptr;
    controls::Label* Label2 = nullptr;
    controls::Label* Label1 = nullptr;
    controls::Label* Label3 = nullptr;
    controls::Label* Label6 = nullptr;
    controls::Label* Label4 = nullptr;
    controls::Label* Label5 = nullptr;
    controls::Label* Label7 = nullptr;
    controls::DBText* DBTextkolliyat = nullptr;
    controls::DBText* DBTextmoghadamat = nullptr;
    controls::DBText* DBTextvajeb = nullptr;
    controls::DBText* DBTextmostahab = nullptr;
    controls::DBText* DBTextnamaz = nullptr;
    controls::DBText* DBTextmotefar = nullptr;
    controls::DBText* DBTextzertol = nullptr;
    controls::Label* Label8 = nullptr;
    controls::Label* Label9 = nullptr;
    controls::SpeedButton* SpeedButton5 = nullptr;
    controls::SpeedButton* SpeedButton6 = nullptr;
    controls::SpeedButton* SpeedButton8 = nullptr;
    controls::SpeedButton* SpeedButton2 = nullptr;
    controls::SpeedButton* SpeedButton1 = nullptr;
    controls::SpeedButton* SpeedButton3 = nullptr;
    controls::SpeedButton* SpeedButton4 = nullptr;
    controls::SpeedButton* SpeedButton7 = nullptr;
    controls::HotSpot* Shape1 = nullptr;
    controls::HotSpot* Shape2 = nullptr;
    controls::HotSpot* Shape3 = nullptr;
    controls::HotSpot* Shape4 = nullptr;
    // The windowed controls lie above all of the above, in tab order.
    controls::Edit* Edit1 = nullptr;
    controls::DBGrid* DBkolliyat = nullptr;
    controls::DBMemo* Memopokolliyat = nullptr;
    controls::DBMemo* Memopakolliyat = nullptr;
    controls::DBMemo* Memomankolliyat = nullptr;
    controls::DBMemo* Memopomoghadamat = nullptr;
    controls::DBMemo* Memopamoghadamat = nullptr;
    controls::DBMemo* Memomamoghadamat = nullptr;
    controls::DBGrid* DBmoghadamat = nullptr;
    controls::DBMemo* Memopovajeb = nullptr;
    controls::DBMemo* Memopavajeb = nullptr;
    controls::DBMemo* Memomavajeb = nullptr;
    controls::DBGrid* DBvajeb = nullptr;
    controls::DBMemo* Memopomostahab = nullptr;
    controls::DBMemo* Memopamostahab = nullptr;
    controls::DBMemo* Memomamostahab = nullptr;
    controls::DBGrid* DBmostahab = nullptr;
    controls::DBMemo* Memoponamaz = nullptr;
    controls::DBMemo* Memopanamaz = nullptr;
    controls::DBMemo* Memomanamaz = nullptr;
    controls::DBGrid* DBnamaz = nullptr;
    controls::DBMemo* Memopomotefar = nullptr;
    controls::DBMemo* Memopamotefar = nullptr;
    controls::DBMemo* Memomamotefar = nullptr;
    controls::DBGrid* DBmotefar = nullptr;
    controls::Panel* Panel1 = nullptr;
    // Inside Panel1, from the bottom of its stacking order up.
    controls::Picture* Image3 = nullptr;
    controls::DBGrid* DBzertol = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;  // inside GroupBox1, as are the next three
    QRadioButton* RadioButton2 = nullptr;
    controls::SpeedButton* SpeedButton9 = nullptr;
    controls::SpeedButton* SpeedButton10 = nullptr;
    controls::Edit* ebarat = nullptr;
    controls::DBMemo* Memopozertol = nullptr;
    controls::DBMemo* Memopazertol = nullptr;
    controls::DBMemo* Memomazertol = nullptr;

    // Modeless, one per topic; each searches one answer pane: 1 topic 1, 2 topic 4, 3 topic 2,
    // 4 topic 5, 5 topic 3, 6 topic 6.
    controls::FindDialog* FindDialog1 = nullptr;
    controls::FindDialog* FindDialog2 = nullptr;
    controls::FindDialog* FindDialog3 = nullptr;
    controls::FindDialog* FindDialog4 = nullptr;
    controls::FindDialog* FindDialog5 = nullptr;
    controls::FindDialog* FindDialog6 = nullptr;
    // Modal, one per view, in catalogue order: 1 to 6 the topics, 7 the advanced search.
    controls::FontDialog* FontDialog1 = nullptr;
    controls::FontDialog* FontDialog2 = nullptr;
    controls::FontDialog* FontDialog3 = nullptr;
    controls::FontDialog* FontDialog4 = nullptr;
    controls::FontDialog* FontDialog5 = nullptr;
    controls::FontDialog* FontDialog6 = nullptr;
    controls::FontDialog* FontDialog7 = nullptr;

    // 1-based position, in the text of the answer pane searched last, of the occurrence found
    // last; 0 when the last search found nothing or there was none yet. Line breaks count as
    // two characters (CR LF).
    int FindPos = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The five controls of one view and the link that binds them to the view's record set.
    struct View {
        controls::DBText* title = nullptr;
        controls::DBMemo* question = nullptr;
        controls::DBMemo* answer = nullptr;
        controls::DBMemo* footnotes = nullptr;
        controls::DBGrid* grid = nullptr;
        controls::DataLink* link = nullptr;
    };

    void buildPictures();
    void buildTopicMenu();
    void buildTitleTexts();
    void buildFilterArea();
    void buildButtons();
    void buildHotSpots();
    void buildPanes();
    void buildTabOrder();
    void bindViews();
    void connectHandlers();

    // ---- find in answer text (find_in_answer.cpp)
    void buildFindDialogs();
    void openFindDialog();
    void findInAnswer(controls::DBMemo* memo, const QString& findText);

    // ---- answer font settings (answer_font.cpp)
    void buildFontDialogs();
    void chooseAnswerFont();

    // ---- advanced search (advanced_search.cpp)
    void buildSearchPanel();
    void openSearchPanel();
    void searchCollection();
    void closeSearchPanel();

    View& view(content::Source source);
    const View& view(content::Source source) const;
    content::RecordSet* activeRecordSet(ViewRule rule) const;
    // The topic switch: topic `topicNumber` (1 to 6) becomes the active view.
    void switchTopic(int topicNumber);
    void setViewShown(const View& view, bool shown);
    void step(void (content::RecordSet::*move)());

    content::ContentStore* m_store = nullptr;
    std::array<View, content::kSourceCount> m_views{};
    bool m_shownBefore = false;
    // Where FindPos was found: a Find Next press continues from it only in the same pane while
    // it still shows the same text (as the find function counts it).
    struct LastMatch {
        const controls::DBMemo* memo = nullptr;
        QString text;
    };
    LastMatch m_lastMatch;
};

}  // namespace browser
