#include "app/dm/data_module.h"
#include "model/node_tree.h"
#include "platform/settings/registry_settings.h"
#include "tests/support/app_folder.h"
#include "tests/support/locale_guard.h"
#include "tests/support/window_fixture.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

struct Device {
    int id;
    int parent;
    const char* code;
    double delay = 0;
    int iVexel = 0;
};

// A window over a small node built in memory.
class LookupTest : public test::WindowTest {
protected:
    void SetUp() override
    {
        withDemo = false;
        test::WindowTest::SetUp();
    }
    void TearDown() override
    {
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QStringLiteral("\n")).toStdString();
        test::WindowTest::TearDown();
    }
    void load(std::initializer_list<Device> devices)
    {
        Node = NodeModel{};
        for (const Device& d : devices) {
            TFullDBDeviceListFromNode r;
            r.Id = d.id;
            r.Parent = d.parent;
            r.Code = s(d.code);
            r.Delay = d.delay;
            r.IVexelId = d.iVexel;
            r.XPage = 0.01 * d.id;
            Node.NodeDevices.push_back(r);
        }
        DeriveNodeTree(Node.NodeDevices);
        w().FMapLoaded = true;
    }
    QStringList items(QComboBox* box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    }
};

TEST_F(LookupTest, DeviceTypesListCodesContainingTheirTypeCode)
{
    load({{1, 0, "FN1"},
          {2, 1, "AM2"},
          {3, 2, "XAM3"},
          {4, 2, "am1"},
          {5, 2, "TP5"},
          {6, 2, "TP5"}});
    w().box_DevSelect->setCurrentIndex(1); // "Amplifiers"
    w().box_DevSelectChange();
    EXPECT_EQ(items(w().box_CurrDevice), QStringList({s("AM2"), s("XAM3")}));
    EXPECT_EQ(w().box_CurrDevice->currentIndex(), -1);
    w().box_DevSelect->setCurrentIndex(9); // "SHOW ALL DEVICES"
    w().box_DevSelectChange();
    EXPECT_EQ(items(w().box_CurrDevice),
              QStringList({s("am1"), s("AM2"), s("FN1"), s("TP5"), s("TP5"), s("XAM3")}));
}

TEST_F(LookupTest, ChangingTheTypeKeepsTheCurrentDevice)
{
    load({{1, 0, "FN1", 0.5}, {2, 1, "AM2", 1.0}});
    w().SelectCurrentDevice(s("AM2"));
    EXPECT_EQ(w().FCurrentIndex, 1);
    EXPECT_EQ(w().DelayOfDevice->text(), s("Device delay: 1.00000 µs"));
    w().box_DevSelect->setCurrentIndex(0);
    w().box_DevSelectChange();
    EXPECT_TRUE(w().DelayOfDevice->text().isEmpty());
    EXPECT_EQ(w().FCurrentIndex, 1);
    EXPECT_TRUE(Node.NodeDevices[1].Selected);
}

TEST_F(LookupTest, ProbeEntriesAreFormattedAndSortedAsText)
{
    load({{1, 0, "FN1"}, {2, 1, "AM7", 0, 12}, {3, 2, "TP101", 0, 5}});
    EXPECT_EQ(w().FillIVexelList(), 2);
    // Probe 5 comes first: a space sorts before a digit.
    EXPECT_EQ(items(w().cb_IVexelList), QStringList({s(" 5 -    TP101"), s("12 -      AM7")}));
}

TEST_F(LookupTest, ProbeEntryMarksEveryDeviceWhoseCodeItContains)
{
    load({{1, 0, "FN1"}, {2, 1, "AM1", 1.0}, {3, 1, "AM12", 2.0, 4}, {4, 3, "TP4"}, {5, 2, "TP5"}});
    w().FillIVexelList();
    w().cb_IVexelList->setCurrentIndex(0);
    w().cb_IVexelListChange();
    EXPECT_EQ(Node.NodeDevices[1].Mark, 2); // AM1 occurs in " 4 -     AM12"
    EXPECT_EQ(Node.NodeDevices[2].Mark, 2);
    EXPECT_EQ(w().st_IVexelText->text(), s("AM12 (2.00 µs)"));
    EXPECT_DOUBLE_EQ(w().FView.FViewCenterX, Node.NodeDevices[2].XPage);
    EXPECT_FALSE(w().FFVexelPicked);
}

TEST_F(LookupTest, TwentyCandidatesGrowATwelveRowGrid)
{
    std::vector<std::string> codes;
    for (int i = 0; i < 20; ++i)
        codes.push_back("TP" + std::to_string(100 + i));
    load({{1, 0, "FN1", 0.0}});
    for (int i = 0; i < 20; ++i) {
        TFullDBDeviceListFromNode r;
        r.Id = 2 + i;
        r.Parent = 1;
        r.Code = QString::fromStdString(codes[std::size_t(i)]);
        r.Delay = 3.0 + 0.001 * i;
        Node.NodeDevices.push_back(r);
    }
    DeriveNodeTree(Node.NodeDevices);
    w().grp_IVexel->show();
    w().grp_FVexel->show();
    w().layoutPanel();
    w().FitCandidateGrid();
    ASSERT_EQ(w().sg_Pretender->rowCount(), 12);
    w().SelectCurrentDevice(s("FN1"));
    w().ed_Measured->setText(s("3.01"));
    w().ed_Delta->setText(s("0.10"));
    w().SearchCandidates();
    EXPECT_EQ(w().sg_Pretender->rowCount(), 21);
    EXPECT_EQ(w().st_Total->text(), s("Total device: 20"));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(w().sg_Pretender->item(i + 1, 0)->text(),
                  QString::fromStdString(codes[std::size_t(i)]));
}

} // namespace
