// The topic file format: what a person writes and what the database receives.
#include <gtest/gtest.h>

#include "collection_text.h"
#include "jet/value.h"

namespace {

using collection::parseTopicText;

TEST(CollectionTextTest, ReadsEveryFieldWithLinesJoinedByCrLf) {
    const auto records = parseTopicText(
        "# topic: test\n"
        "[record]\n"
        "title: نخست (Ba'that)\n"
        "question:\n"
        "چرا؟\n"
        "answer:\n"
        "بند يکم.   \n"
        "بند دوم.\n"
        "\n"
        "footnotes:\n"
        "۱. سوره بقره، آيه ۲۱۳\n"
        "۲. نهج البلاغه\n"
        "\n"
        "[record]\r\n"
        "title: دوم\r\n"
        "question:\r\n"
        "پرسش\r\n"
        "answer:\r\n"
        "پاسخ\r\n"
        "footnotes: null\r\n",
        "test.txt");
    ASSERT_TRUE(records.ok()) << records.status().message();
    ASSERT_EQ(records->size(), 2u);
    const auto& first = (*records)[0];
    EXPECT_EQ(first.title, u"نخست (Ba'that)");
    EXPECT_EQ(first.question, u"چرا؟");
    EXPECT_EQ(first.answer, u"بند يکم.\r\nبند دوم.");
    ASSERT_TRUE(first.footnotes.has_value());
    EXPECT_EQ(*first.footnotes, u"۱. سوره بقره، آيه ۲۱۳\r\n۲. نهج البلاغه");
    EXPECT_EQ(first.line, 2);
    EXPECT_FALSE((*records)[1].footnotes.has_value());
    EXPECT_EQ((*records)[1].answer, u"پاسخ");
}

TEST(CollectionTextTest, RejectsMalformedRecordsNamingTheLine) {
    struct Case {
        const char* name;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"text before the first record", "hello\n[record]\n", "test.txt:1: text before"},
        {"missing title", "[record]\nquestion:\nq\nanswer:\na\nfootnotes: null\n",
         "test.txt:1: record without a title"},
        {"missing footnotes", "[record]\ntitle: t\nquestion:\nq\nanswer:\na\n",
         "test.txt:1: record without footnotes"},
        {"field twice", "[record]\ntitle: t\nquestion:\nq\nquestion:\n", "test.txt:5: a field given twice"},
        {"text after null footnotes",
         "[record]\ntitle: t\nquestion:\nq\nanswer:\na\nfootnotes: null\noops\n",
         "test.txt:8: text after"},
        {"empty title", "[record]\ntitle:   \n", "test.txt:2: empty title"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = parseTopicText(c.text, "test.txt");
        ASSERT_FALSE(records.ok());
        EXPECT_NE(records.status().message().find(c.expected), std::string::npos)
            << records.status().message();
    }
}

}  // namespace
