#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "support/QtPrinters.h"
#include "ui/Resources.h"

namespace pesterly {
namespace {

QString Manual() {
    QFile file(BuiltInManualPath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    return QString::fromUtf8(file.readAll());
}

QStringList Captures(const QString& text, const QString& pattern) {
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext()) {
        found << it.next().captured(1);
    }
    return found;
}

TEST(Manual, NeedsNothingFromOutsideLinksOnlyToItselfAndListsEverySection) {
    const QString manual = Manual();
    for (const char* outside : {"<script", " src=", "<link", "url(", "@import", "<iframe"}) {
        EXPECT_FALSE(manual.contains(QLatin1String(outside), Qt::CaseInsensitive)) << outside;
    }
    const QStringList ids = Captures(manual, R"re(\s(?:id|name)="([^"]*)")re");
    const QSet<QString> anchors(ids.begin(), ids.end());
    EXPECT_EQ(anchors.size(), ids.size()) << "every anchor is named once";
    ASSERT_TRUE(anchors.contains("contents"));
    const QStringList links = Captures(manual, R"re(\shref="([^"]*)")re");
    EXPECT_GT(links.size(), 20);
    for (const QString& link : links) {
        ASSERT_TRUE(link.startsWith('#')) << "a link out of the manual: " << link.toStdString();
        EXPECT_TRUE(anchors.contains(link.mid(1))) << "no place named " << link.toStdString();
    }

    const qsizetype start = manual.indexOf(R"re(id="contents")re");
    const qsizetype end = manual.indexOf("</ol>", start);
    ASSERT_GE(start, 0);
    ASSERT_GT(end, start);
    const QStringList listed = Captures(manual.mid(start, end - start), R"re(href="#([^"]*)")re");
    const QStringList sections = Captures(manual, R"re(<h2 id="([^"]*)")re");
    ASSERT_GT(sections.size(), 10);
    QStringList expected = sections;
    expected.removeAll("contents");
    EXPECT_EQ(listed, expected) << "every section, in page order";
}

}  // namespace
}  // namespace pesterly
