#include "model/candidate_search.h"
#include "model/node_tree.h"

#include <gtest/gtest.h>

using namespace vembra;

namespace {

NodeDeviceList tree(std::initializer_list<std::tuple<int, int, double>> rows)
{
    NodeDeviceList devices;
    for (const auto& [id, parent, delay] : rows) {
        TFullDBDeviceListFromNode d;
        d.Id = id;
        d.Parent = parent;
        d.Delay = delay;
        devices.push_back(d);
    }
    DeriveNodeTree(devices);
    return devices;
}

TEST(CandidateSearch, WindowIncludesItsBoundsBelowTheCurrentDevice)
{
    // Current device 2 (delay 1.25), measured 3.5, tolerance 0.25: window 4.5 to 5.0.
    NodeDeviceList d = tree({{1, 0, 0.0},
                             {2, 1, 1.25},
                             {3, 2, 4.5},
                             {4, 2, 5.0},
                             {5, 2, 4.49999},
                             {6, 2, 5.00001},
                             {7, 1, 4.75},  // a sibling branch
                             {8, 3, 4.8}}); // deeper below the current device
    const CandidateWindow window = candidateWindow(1.25, 3.5, 0.25);
    EXPECT_DOUBLE_EQ(window.lower, 4.5);
    EXPECT_DOUBLE_EQ(window.upper, 5.0);
    const auto found = SearchCandidates(d, 1, window);
    EXPECT_EQ(found, (std::vector<std::int32_t>{2, 3, 7}));
    for (std::size_t i = 0; i < d.size(); ++i) {
        const bool expected = i == 2 || i == 3 || i == 7;
        EXPECT_EQ(d[i].Candidate, expected) << i;
        EXPECT_EQ(d[i].Mark, expected ? 1 : 0) << i;
    }
}

TEST(CandidateSearch, TheCurrentDeviceAndItsAncestorsAreNeverCandidates)
{
    NodeDeviceList d = tree({{1, 0, 2.0}, {2, 1, 2.0}, {3, 2, 2.0}});
    EXPECT_EQ(SearchCandidates(d, 1, candidateWindow(0.0, 2.0, 0.1)),
              (std::vector<std::int32_t>{2}));
    // From the root every device of the tree below it is considered.
    EXPECT_EQ(SearchCandidates(d, 0, candidateWindow(0.0, 2.0, 0.1)),
              (std::vector<std::int32_t>{1, 2}));
}

TEST(CandidateSearch, SearchClearsAProbeMarking)
{
    NodeDeviceList d = tree({{1, 0, 0.0}, {2, 1, 9.0}, {3, 2, 1.0}});
    d[1].Mark = 2;
    d[2].Mark = 3;
    d[2].Candidate = true;
    const auto found = SearchCandidates(d, 0, candidateWindow(0.0, 9.0, 0.01));
    EXPECT_EQ(found, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(d[1].Mark, 1);
    EXPECT_EQ(d[2].Mark, 0);
    EXPECT_FALSE(d[2].Candidate);
}

TEST(CandidateSearch, CurrentIndexOutsideTheModelFindsNothing)
{
    NodeDeviceList d = tree({{1, 0, 1.0}, {2, 1, 1.0}});
    EXPECT_TRUE(SearchCandidates(d, 5, candidateWindow(0.0, 1.0, 0.5)).empty());
    EXPECT_TRUE(SearchCandidates(d, -1, candidateWindow(0.0, 1.0, 0.5)).empty());
}

} // namespace

namespace {

TEST(CandidateProbes, IconFollowsTheChosenProbesArea)
{
    // 1 (i-Vexel 4, f-Vexel 1) <- 2 <- 3 (candidate A); 1 <- 4 (f-Vexel 6) <- 5 (candidate B)
    NodeDeviceList d = tree({{1, 0, 0.0}, {2, 1, 1.0}, {3, 2, 2.0}, {4, 1, 1.0}, {5, 4, 2.0}});
    d[0].IVexelId = 4;
    d[0].FVexelId = 1;
    d[3].FVexelId = 6;
    d[2].Code = QStringLiteral("TP3");
    d[4].Code = QStringLiteral("TP5");
    DeriveNodeTree(d);
    d[1].Mark = 2; // the chosen probe's device is 2, an ancestor of A only
    EXPECT_TRUE(CandidateUnderIVexel(d, true, QStringLiteral("TP3")));
    EXPECT_FALSE(CandidateUnderIVexel(d, true, QStringLiteral("TP5")));
    EXPECT_FALSE(CandidateUnderIVexel(d, false, QStringLiteral("TP3")));
    // f-Vexel: A's upstream f-Vexel id is 1, which does not count; B's is 6.
    d[1].Mark = 0;
    d[0].Mark = 3;
    EXPECT_FALSE(CandidateUnderFVexel(d, true, QStringLiteral("TP3")));
    EXPECT_TRUE(CandidateUnderFVexel(d, true, QStringLiteral("TP5")));
}

TEST(CandidateProbes, SharedCodeUsesTheFirstDeviceWithAnUpstreamProbe)
{
    // Two roots; the probe (i-Vexel 9) sits on the second. Both TP7 devices share a code: the
    // first hangs below the root without a probe, the second below the probe.
    NodeDeviceList d = tree({{1, 0, 0.0}, {2, 0, 0.0}, {3, 1, 1.0}, {4, 2, 1.0}});
    d[1].IVexelId = 9;
    d[2].Code = QStringLiteral("TP7");
    d[3].Code = QStringLiteral("TP7");
    DeriveNodeTree(d);
    ASSERT_EQ(d[2].UpIVexelId, 0);
    ASSERT_EQ(d[3].UpIVexelId, 9);
    d[1].Mark = 2;
    EXPECT_TRUE(CandidateUnderIVexel(d, true, QStringLiteral("TP7")));
}

} // namespace
