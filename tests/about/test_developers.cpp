// The credits list: its rows, its table, and the mail address opened by a double click.
#include "app/about/developers.h"
#include "app/about/developers_form.h"

#include <QHeaderView>
#include <QLayout>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vembra {
namespace {

const QList<DeveloperRow> kTwoRows = {
    {QStringLiteral("Ann Example"), QStringLiteral("Developer"), QStringLiteral("ann@x.example"),
     QString()},
    {QStringLiteral("Team Without Mail"), QStringLiteral("Testers"), QString(),
     QStringLiteral("no address")},
};

TEST(CreatorRows, RecordTheHistorysAuthorAndFitTheirFields)
{
    const QList<DeveloperRow> rows = creatorRows();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.front().Name, QStringLiteral("Seed 4f6928e0 maintainers"));
    EXPECT_EQ(rows.front().Prof, QStringLiteral("Maintainers"));
    QStandardItemModel table;
    EXPECT_NO_THROW(fillDevelopers(table, rows));
    EXPECT_EQ(table.rowCount(), rows.size());
}

TEST(FillDevelopers, FourColumnsWithTheirTitlesAndReadOnlyRows)
{
    QStandardItemModel table;
    fillDevelopers(table, kTwoRows);
    ASSERT_EQ(table.columnCount(), 4);
    const char* titles[] = {"Full name", "Profession", "E_Mail", ""};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(table.headerData(c, Qt::Horizontal).toString(), QString::fromLatin1(titles[c]));
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(0, kEMailColumn)->text(), QStringLiteral("ann@x.example"));
    EXPECT_EQ(table.item(1, kNotesColumn)->text(), QStringLiteral("no address"));
    EXPECT_FALSE(table.item(0, 0)->isEditable());
}

TEST(FillDevelopers, ValueLongerThanItsFieldFailsNamingTheField)
{
    const struct {
        DeveloperRow row;
        const char* field;
    } cases[] = {
        {{QString(101, QLatin1Char('n')), {}, {}, {}}, "Name"},
        {{{}, QString(51, QLatin1Char('p')), {}, {}}, "Prof"},
        {{{}, {}, QString(26, QLatin1Char('m')), {}}, "E_Mail"},
        {{{}, {}, {}, QString(101, QLatin1Char('x'))}, "Notes"},
    };
    for (const auto& c : cases) {
        QStandardItemModel table;
        try {
            fillDevelopers(table, {c.row});
            ADD_FAILURE() << c.field << " too long was accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(c.field), std::string::npos) << e.what();
        }
        EXPECT_EQ(table.rowCount(), 0) << c.field;
    }
    QStandardItemModel table;
    EXPECT_NO_THROW(
        fillDevelopers(table, {{QString(100, QLatin1Char('n')), QString(50, QLatin1Char('p')),
                                QString(25, QLatin1Char('m')), QString(100, QLatin1Char('x'))}}));
}

TEST(MailtoUrl, OnlyForAnAddress)
{
    EXPECT_FALSE(mailtoUrl(QString()).has_value());
    ASSERT_TRUE(mailtoUrl(QStringLiteral("ann@x.example")).has_value());
    EXPECT_EQ(mailtoUrl(QStringLiteral("ann@x.example"))->toString(),
              QStringLiteral("mailto:ann@x.example"));
}

class CreditsWindow : public ::testing::Test {
protected:
    QList<QUrl> opened;
};

TEST_F(CreditsWindow, DesignedGrid)
{
    TfrmDevelopers window(nullptr, kTwoRows, [](const QUrl&) { return true; });
    EXPECT_TRUE(window.FFilled);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Creator list"));
    EXPECT_EQ(window.size(), QSize(555, 306));
    EXPECT_EQ(window.DBgDevelopers->objectName(), QStringLiteral("DBgDevelopers"));
    window.DBgDevelopers->parentWidget()->layout()->activate();
    EXPECT_EQ(window.DBgDevelopers->geometry(), QRect(8, 8, 535, 289));
    EXPECT_EQ(window.DBgDevelopers->columnWidth(0), 176);
    EXPECT_EQ(window.DBgDevelopers->columnWidth(1), 210);
    EXPECT_EQ(window.DBgDevelopers->columnWidth(2), 109);
    EXPECT_TRUE(window.DBgDevelopers->isColumnHidden(kNotesColumn));
    EXPECT_EQ(window.DBgDevelopers->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(CreditsWindow, DoubleClickOpensTheRowsMailAddress)
{
    TfrmDevelopers window(nullptr, kTwoRows, [this](const QUrl& url) {
        opened.append(url);
        return true;
    });
    window.DBgDevelopers->setCurrentIndex(window.cdsDevelopers->index(0, 1));
    emit window.DBgDevelopers->doubleClicked(window.DBgDevelopers->currentIndex());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front(), QUrl(QStringLiteral("mailto:ann@x.example")));
}

TEST_F(CreditsWindow, DoubleClickOnARowWithoutAddressDoesNothing)
{
    TfrmDevelopers window(nullptr, kTwoRows, [this](const QUrl& url) {
        opened.append(url);
        return true;
    });
    window.DBgDevelopers->setCurrentIndex(window.cdsDevelopers->index(1, 0));
    window.DBgDevelopersDblClick();
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(CreditsWindow, FailedFillingIsNeverShown)
{
    TfrmDevelopers window(nullptr, {{QString(101, QLatin1Char('n')), {}, {}, {}}},
                          [](const QUrl&) { return true; });
    EXPECT_FALSE(window.FFilled);
    EXPECT_FALSE(window.ShowIfFilled());
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace vembra
