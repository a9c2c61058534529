#pragma once

#include <QWidget>

#include "content/content_store.h"

namespace browser {

// The browsing window `main`: the topic menu, the title filter, the titles grid and the record
// panes of the active topic. It owns the content store; building it opens the collection and
// reports each failed open in the error box, then FormCreate runs. Closing it only hides it.
class Tmain : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tmain)

public:
    static constexpr int kClientWidth = 865;
    static constexpr int kClientHeight = 682;

    explicit Tmain(QWidget* parent = nullptr);
    ~Tmain() override;

    content::ContentStore& store() { return *m_store; }

    // Runs once at the end of construction: makes topic 1 the active view.
    void FormCreate();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    content::ContentStore* m_store = nullptr;
};

}  // namespace browser
