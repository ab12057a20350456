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

// Whether the device, or any device above it, is the chosen probe's device (Mark 2 or 3).
bool InChosenProbeArea(const NodeDeviceList& devices, std::int32_t index);
// Whether the candidate with that code gets the i-Vexel (f-Vexel) icon: the first device with the
// code and an upstream probe id above 0 (above 1 for f-Vexel) lies in the chosen probe's area.
bool CandidateUnderIVexel(const NodeDeviceList& devices, bool hasIVexel, const QString& code);
bool CandidateUnderFVexel(const NodeDeviceList& devices, bool hasFVexel, const QString& code);

// Removes every candidate and mark.
void ClearCandidateMarks(NodeDeviceList& devices);

} // namespace vembra
