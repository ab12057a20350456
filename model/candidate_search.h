#pragma once

#include "model/node_records.h"

namespace vembra {

// The delays a candidate may have: current device delay + measured ± tolerance, bounds included.
struct CandidateWindow {
    double lower = 0;
    double upper = 0;
};

// The window, each bound summed left to right in extended precision and stored as 64 bits.
CandidateWindow candidateWindow(double currentDelay, double measured, double tolerance);

// Answers in constant time whether a device lies below the current device.
class SubtreeTest {
public:
    SubtreeTest(const NodeDeviceList& devices, std::int32_t currentIndex);
    bool IsBelowCurrent(std::int32_t index) const;

private:
    std::vector<bool> m_below;
};

// Marks every device: a candidate (Candidate true, Mark 1) when it lies below the current device
// and its delay is inside the window; otherwise Candidate false and Mark 0. Returns the
// candidates' indexes in device order.
std::vector<std::int32_t> SearchCandidates(NodeDeviceList& devices, std::int32_t currentIndex,
                                           const CandidateWindow& window);

// Removes every candidate and mark.
void ClearCandidateMarks(NodeDeviceList& devices);

} // namespace vembra
