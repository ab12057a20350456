#include "model/candidate_search.h"

namespace vembra {

CandidateWindow candidateWindow(double currentDelay, double measured, double tolerance)
{
    const long double centre = static_cast<long double>(currentDelay) + measured;
    return {static_cast<double>(centre - tolerance), static_cast<double>(centre + tolerance)};
}

SubtreeTest::SubtreeTest(const NodeDeviceList& devices, std::int32_t currentIndex)
    : m_below(devices.size(), false)
{
    if (currentIndex < 0 || static_cast<std::size_t>(currentIndex) >= devices.size())
        return;
    for (const std::int32_t i : devices[static_cast<std::size_t>(currentIndex)].Descendants)
        m_below[static_cast<std::size_t>(i)] = true;
}

bool SubtreeTest::IsBelowCurrent(std::int32_t index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < m_below.size() &&
           m_below[static_cast<std::size_t>(index)];
}

std::vector<std::int32_t> SearchCandidates(NodeDeviceList& devices, std::int32_t currentIndex,
                                           const CandidateWindow& window)
{
    const SubtreeTest below(devices, currentIndex);
    std::vector<std::int32_t> found;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        auto& d = devices[i];
        d.Candidate = false;
        d.Mark = 0;
        const auto index = static_cast<std::int32_t>(i);
        if (!(d.Delay > window.upper) && !(d.Delay < window.lower) && below.IsBelowCurrent(index)) {
            d.Candidate = true;
            d.Mark = 1;
            found.push_back(index);
        }
    }
    return found;
}

bool InChosenProbeArea(const NodeDeviceList& devices, std::int32_t index)
{
    // The parent links carry no loop once loaded, so the walk ends at a root.
    while (index >= 0 && std::size_t(index) < devices.size()) {
        const auto& d = devices[std::size_t(index)];
        if (d.Mark == 2 || d.Mark == 3)
            return true;
        index = d.ParentIndex;
    }
    return false;
}

bool CandidateUnderIVexel(const NodeDeviceList& devices, bool hasIVexel, const QString& code)
{
    if (!hasIVexel)
        return false;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].Code == code && devices[i].UpIVexelId > 0)
            return InChosenProbeArea(devices, std::int32_t(i));
    }
    return false;
}

bool CandidateUnderFVexel(const NodeDeviceList& devices, bool hasFVexel, const QString& code)
{
    if (!hasFVexel)
        return false;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].Code == code && devices[i].UpFVexelId > 1)
            return InChosenProbeArea(devices, std::int32_t(i));
    }
    return false;
}

void ClearCandidateMarks(NodeDeviceList& devices)
{
    for (auto& d : devices) {
        d.Candidate = false;
        d.Mark = 0;
    }
}

} // namespace vembra
