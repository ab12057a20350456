#include "model/node_tree.h"

#include <gtest/gtest.h>

using namespace vembra;

namespace {

struct Row {
    std::int32_t id;
    std::int32_t parent;
    std::int32_t iVexel = 0;
    std::int32_t fVexel = 0;
};

NodeDeviceList devicesOf(std::initializer_list<Row> rows)
{
    NodeDeviceList devices;
    for (const Row& r : rows) {
        TFullDBDeviceListFromNode d;
        d.Id = r.id;
        d.Parent = r.parent;
        d.IVexelId = r.iVexel;
        d.FVexelId = r.fVexel;
        devices.push_back(d);
    }
    DeriveNodeTree(devices);
    return devices;
}

using I = TChildIndexes;

TEST(NodeTree, ChildrenDescendantsAndAncestorsFollowTheParentLinks)
{
    // ids 1 (parent 0), 2 (parent 1), 3 (parent 2), 4 (parent 1)
    const NodeDeviceList d = devicesOf({{1, 0}, {2, 1}, {3, 2}, {4, 1}});
    EXPECT_EQ(d[0].Children, (I{1, 3}));
    EXPECT_EQ(d[0].Descendants, (I{1, 2, 3}));
    EXPECT_EQ(d[2].Ancestors, (I{1, 0}));
    EXPECT_EQ(d[0].ParentIndex, -1);
    EXPECT_TRUE(d[0].Ancestors.empty());
    EXPECT_EQ(d[3].ParentIndex, 0);
}

TEST(NodeTree, DescendantsAreDepthFirstPreOrderWhateverTheIdOrder)
{
    // A parent listed after its children: 1 <- 5 <- 2, 1 <- 3, 5 <- 4
    const NodeDeviceList d = devicesOf({{1, 0}, {2, 5}, {3, 1}, {4, 5}, {5, 1}});
    EXPECT_EQ(d[0].Children, (I{2, 4}));
    EXPECT_EQ(d[0].Descendants, (I{2, 4, 1, 3}));
    EXPECT_EQ(d[1].Ancestors, (I{4, 0}));
}

TEST(NodeTree, UnknownOrZeroParentMakesARoot)
{
    const NodeDeviceList d = devicesOf({{1, 0}, {2, 99}, {3, 2}});
    EXPECT_EQ(d[1].ParentIndex, -1);
    EXPECT_TRUE(d[1].Ancestors.empty());
    EXPECT_TRUE(d[0].Children.empty());
    EXPECT_EQ(d[1].Descendants, (I{2}));
}

TEST(NodeTree, DuplicateIdsAttachToTheFirstDevice)
{
    // Two devices carry id 2; children of 2 hang under the first of them.
    const NodeDeviceList d = devicesOf({{1, 0}, {2, 1}, {2, 1}, {3, 2}});
    EXPECT_EQ(d[1].Children, (I{3}));
    EXPECT_TRUE(d[2].Children.empty());
    EXPECT_EQ(d[2].Descendants, (I{3})); // the subtree of the first device with its id
    EXPECT_EQ(d[0].Descendants, (I{1, 3, 2}));
}

TEST(NodeTree, LoopsInTheParentLinksAreBroken)
{
    struct Case {
        const char* name;
        std::initializer_list<Row> rows;
        std::vector<std::int32_t> parentIndex;
    };
    const Case cases[] = {
        {"own parent", {{1, 1}, {2, 1}}, {-1, 0}},
        {"each other's parent", {{1, 2}, {2, 1}, {3, 2}}, {1, -1, 1}},
        {"longer loop with a tail", {{1, 3}, {2, 1}, {3, 2}, {4, 2}, {5, 0}}, {2, -1, 1, 1, -1}},
    };
    for (const Case& c : cases) {
        const NodeDeviceList d = devicesOf(c.rows);
        for (std::size_t i = 0; i < d.size(); ++i) {
            EXPECT_EQ(d[i].ParentIndex, c.parentIndex[i]) << c.name << " device " << i;
            // Every chain ends at a root and no device is its own ancestor.
            for (const std::int32_t a : d[i].Ancestors)
                EXPECT_NE(a, static_cast<std::int32_t>(i)) << c.name;
            EXPECT_LT(d[i].Ancestors.size(), d.size()) << c.name;
        }
    }
}

TEST(NodeTree, UpstreamProbeFollowsTheNearestProbeAbove)
{
    // A (root, i5), B (child of A), C (child of B, i7)
    NodeDeviceList d = devicesOf({{1, 0, 5}, {2, 1}, {3, 2, 7}});
    EXPECT_EQ(d[0].UpIVexelId, 5);
    EXPECT_EQ(d[1].UpIVexelId, 5);
    EXPECT_EQ(d[2].UpIVexelId, 5);
    // With D (child of C) after them, C ends with its own 7 and D with 7.
    d = devicesOf({{1, 0, 5}, {2, 1}, {3, 2, 7}, {4, 3}});
    EXPECT_EQ(d[2].UpIVexelId, 7);
    EXPECT_EQ(d[3].UpIVexelId, 7);
    // A probe device reached only by earlier devices keeps its own turn's value.
    d = devicesOf({{2, 3}, {3, 0, 4}});
    EXPECT_EQ(d[0].UpIVexelId, 4);
    EXPECT_EQ(d[1].UpIVexelId, 0);
}

TEST(NodeTree, FVexelPassWorksOnItsOwnField)
{
    const NodeDeviceList d = devicesOf({{1, 0, 5, 0}, {2, 1, 0, 9}, {3, 2}});
    EXPECT_EQ(d[2].UpFVexelId, 9);
    EXPECT_EQ(d[2].UpIVexelId, 5);
    EXPECT_EQ(d[1].UpFVexelId, 9); // reached by a later device: its own id
}

TEST(NodeTree, IndexOfDeviceIdGivesTheLowestIndex)
{
    NodeDeviceList d = devicesOf({{7, 0}, {8, 7}, {7, 0}});
    const DeviceIdIndex ids(d);
    EXPECT_EQ(ids.IndexOfDeviceId(7), 0);
    EXPECT_EQ(ids.IndexOfDeviceId(8), 1);
    EXPECT_EQ(ids.IndexOfDeviceId(9), -1);
}

} // namespace
