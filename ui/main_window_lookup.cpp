// Device and probe look-up: the device type and current device lists, the probe lists.
#include "ui/main_window.h"

#include "app/settings/decimal_text.h"
#include "model/candidate_search.h"
#include "ui/main_unit.h"
#include "ui/paint_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>

namespace vembra {

namespace {

const char* const kTypeCodes[] = {"FN", "AM", "DC", "TM", "SP", "TP", "SC", "EQ", "PW", ""};

// Entries sorted as text, the way the sorted lists show them.
void fillSorted(QComboBox* box, QStringList entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.compare(b, Qt::CaseSensitive) < 0;
    });
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(-1);
}

QString probeEntry(std::int32_t id, const QString& code)
{
    return QStringLiteral("%1 - %2").arg(id, 2).arg(code, 8);
}

} // namespace

void T_frmMain::box_DevSelectChange()
{
    DelayOfDevice->clear();
    const int entry = box_DevSelect->currentIndex();
    if (entry < 0 || entry >= int(std::size(kTypeCodes)))
        return;
    FillDeviceList(QString::fromLatin1(kTypeCodes[entry]));
}

void T_frmMain::FillDeviceList(const QString& typeCode)
{
    QStringList codes;
    for (const auto& d : Node.NodeDevices) {
        if (typeCode.isEmpty() || d.Code.contains(typeCode, Qt::CaseSensitive))
            codes << d.Code;
    }
    fillSorted(box_CurrDevice, codes);
}

void T_frmMain::box_CurrDeviceChange()
{
    if (box_CurrDevice->currentIndex() < 0)
        return;
    FCenterOnCandidate = false;
    SelectCurrentDevice(box_CurrDevice->currentText());
    if (ed_Measured->isEnabled() && ed_Measured->isVisible())
        ed_Measured->setFocus();
}

void T_frmMain::SelectCurrentDevice(const QString& code)
{
    if (!FMapLoaded)
        return;
    std::int32_t found = -1;
    for (std::size_t i = 0; i < Node.NodeDevices.size(); ++i) {
        auto& d = Node.NodeDevices[i];
        if (d.Code == code)
            found = std::int32_t(i);
        else
            d.Selected = false;
    }
    if (found < 0)
        return;
    ClearCandidates();
    auto& device = Node.NodeDevices[std::size_t(found)];
    FCurrentDelay = device.Delay;
    DelayOfDevice->setText(QStringLiteral("Device delay: %1 µs").arg(formatFixed5(FCurrentDelay)));
    CenterOnDevice(code);
    device.Selected = true;
    FCurrentIndex = found;
    Node.CurrentDevice = TConnectionPoint{found, device.Code, device.Delay, device.MapData.ScreenX,
                                          device.MapData.ScreenY};
    RescaleDevices();
}

int T_frmMain::FillIVexelList()
{
    QStringList entries;
    for (const auto& d : Node.NodeDevices) {
        if (d.IVexelId > 0)
            entries << probeEntry(d.IVexelId, d.Code);
    }
    fillSorted(cb_IVexelList, entries);
    return int(entries.size());
}

int T_frmMain::FillFVexelList()
{
    QStringList entries;
    for (const auto& d : Node.NodeDevices) {
        if (d.FVexelId > 0)
            entries << probeEntry(d.FVexelId, d.Code);
    }
    fillSorted(cb_FVexelList, entries);
    return int(entries.size());
}

namespace {

// Marks the chosen probe's device (every device whose code occurs in the entry's text).
template <typename Centre> void chooseProbe(const QString& entry, QLabel* text, Centre&& centreOn)
{
    for (std::size_t i = 0; i < Node.NodeDevices.size(); ++i) {
        auto& d = Node.NodeDevices[i];
        if (d.Mark == 2)
            d.Mark = 0;
        else if (d.Mark == 3)
            d.Mark = 1;
        d.Selected = false;
        if (!d.Code.isEmpty() && entry.contains(d.Code, Qt::CaseSensitive)) {
            text->setText(QStringLiteral("%1 (%2 µs)").arg(d.Code, formatFixed2(d.Delay)));
            d.Mark = d.Candidate ? 3 : 2;
            d.Selected = true;
            centreOn(d);
        }
    }
}

} // namespace

void T_frmMain::cb_IVexelListChange()
{
    if (cb_IVexelList->currentIndex() < 0)
        return;
    chooseProbe(cb_IVexelList->currentText(), st_IVexelText, [this](const auto& d) {
        FView.FViewCenterX = d.XPage;
        FView.FViewCenterY = d.YPage;
        RescaleDevices();
    });
    FFVexelPicked = false;
    sg_Pretender->viewport()->update();
}

void T_frmMain::cb_FVexelListChange()
{
    if (cb_FVexelList->currentIndex() < 0)
        return;
    chooseProbe(cb_FVexelList->currentText(), st_FVexelText, [this](const auto& d) {
        FView.FViewCenterX = d.XPage;
        FView.FViewCenterY = d.YPage;
        RescaleDevices();
    });
    FFVexelPicked = true;
    sg_Pretender->viewport()->update();
}

void T_frmMain::cb_ShowAllIVexelClick()
{
    FShowAllIVexel = cb_ShowAllIVexel->isChecked();
    PB1->update();
}

void T_frmMain::cb_ShowAllFVexelClick()
{
    FShowAllFVexel = cb_ShowAllFVexel->isChecked();
    PB1->update();
}

void T_frmMain::ClearProbeTexts()
{
    st_IVexelText->clear();
    st_FVexelText->clear();
}

} // namespace vembra
