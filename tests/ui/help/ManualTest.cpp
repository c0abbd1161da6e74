#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "support/QtPrinters.h"
#include "ui/Resources.h"

namespace pesterly {
namespace {

QStringList Captures(const QString& text, const QString& pattern) {
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext()) {
        found << it.next().captured(1);
    }
    return found;
}

TEST(Manual, NeedsNothingFromOutsideAndLinksOnlyToItself) {
    QFile file(BuiltInManualPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QString manual = QString::fromUtf8(file.readAll());
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
}

}  // namespace
}  // namespace pesterly
