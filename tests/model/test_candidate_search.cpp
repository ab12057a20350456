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
