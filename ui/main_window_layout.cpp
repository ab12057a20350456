// The controls of the main window: their nesting, places, sizes, captions and looks, and the
// layout of the right-hand panel when the window changes size.
#include "ui/button_pictures.h"
#include "ui/main_window.h"
#include "ui/node_list_delegate.h"
#include "ui/paint_box.h"
#include "ui/window_colours.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

#include <array>

namespace vembra {

namespace {

constexpr int kPanelWidth = 214;
constexpr int kPanelBorder = 5;
constexpr int kInnerWidth = 204;
constexpr int kProbeGroupHeight = 70;
constexpr int kToolPanelHeight = 36;
constexpr int kGridRowHeight = 16;

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void fill(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void setBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y,
              bool bold = false, const QColor& colour = QColor())
{
    auto* l = named(new QLabel(text, parent), name);
    if (bold)
        setBold(l);
    if (colour.isValid())
        setTextColour(l, colour);
    l->adjustSize();
    l->move(x, y);
    return l;
}

QComboBox* dropDown(QWidget* parent, const char* name, const QRect& geometry, const QColor& colour)
{
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(false);
    box->setGeometry(geometry);
    box->setFocusPolicy(Qt::ClickFocus);
    fill(box, colour);
    box->setAutoFillBackground(false);
    return box;
}

// A static text with the lowered-inner, raised-outer bevel and a sunken border.
QLabel* bevelledText(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* text = named(new QLabel(parent), name);
    text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    text->setGeometry(geometry);
    text->setFixedSize(geometry.size());
    return text;
}

QToolButton* flatButton(QWidget* parent, const char* name, const QRect& geometry, const QIcon& icon,
                        const QSize& iconSize)
{
    auto* button = named(new QToolButton(parent), name);
    button->setAutoRaise(true);
    button->setIcon(icon);
    button->setIconSize(iconSize);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QScrollBar* horizontalBar(QWidget* parent, const char* name, const QRect& geometry, int maximum)
{
    auto* bar = named(new QScrollBar(Qt::Horizontal, parent), name);
    bar->setGeometry(geometry);
    bar->setRange(1, maximum);
    bar->setValue(1);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setFocusPolicy(Qt::ClickFocus);
    return bar;
}

QLineEdit* entryField(QWidget* parent, const char* name, const QRect& geometry, int maxLength)
{
    auto* edit = named(new QLineEdit(parent), name);
    edit->setGeometry(geometry);
    edit->setMaxLength(maxLength);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                 const QColor& colour)
{
    auto* box = named(new QGroupBox(caption, parent), name);
    box->setGeometry(geometry);
    fill(box, colour);
    return box;
}

// The controls of one probe group: caption, probe list, "Show all ID" box and probe text.
struct ProbeGroup {
    QGroupBox* group;
    QLabel* label;
    QComboBox* list;
    QCheckBox* showAll;
    QLabel* text;
};

ProbeGroup probeGroup(QWidget* parent, const std::array<const char*, 5>& names,
                      const QString& caption, int top, int labelTop)
{
    ProbeGroup g{};
    g.group = group(parent, names[0], QString(), QRect(0, top, kInnerWidth, kProbeGroupHeight),
                    scrollBarColour());
    g.label = label(g.group, names[1], caption, 6, labelTop, true);
    g.list = dropDown(g.group, names[2], QRect(6, 25, 117, 21), activeBorderColour());
    g.showAll = named(new QCheckBox(QStringLiteral("Show all ID"), g.group), names[3]);
    g.showAll->setGeometry(126, 29, 71, 13);
    g.showAll->setFocusPolicy(Qt::ClickFocus);
    g.text = bevelledText(g.group, names[4], QRect(6, 47, 192, 18));
    g.group->hide();
    return g;
}

} // namespace

void T_frmMain::createControls()
{
    m_client = named(new QWidget(this), "client");
    setCentralWidget(m_client);
    m_client->setAutoFillBackground(true);

    PB1 = named(new PaintBox(m_client), "PB1");
    PB1->setGeometry(0, 0, 791, 709);

    Panel1 = named(new QFrame(m_client), "Panel1");
    Panel1->setFrameStyle(QFrame::NoFrame);
    Panel1->setGeometry(kDesignClientWidth - kPanelWidth, 0, kPanelWidth, kDesignClientHeight);
    fill(Panel1, buttonFaceColour());

    createPanelTop();
    createEntryGroup();
    createProbeGroups();
    createToolButtons();
}

void T_frmMain::createPanelTop()
{
    Panel3 = named(new QFrame(Panel1), "Panel3");
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel3->setLineWidth(2);
    Panel3->setGeometry(kPanelBorder, kPanelBorder, kInnerWidth, 33);

    cb_WorkDB = dropDown(Panel3, "cb_WorkDB", QRect(6, 6, 148, 21), buttonFaceColour());
    btn_WordDatabase = flatButton(Panel3, "btn_WordDatabase", QRect(158, 5, 40, 22),
                                  pictures::openDatabase(), QSize(32, 18));

    grp_DeviceNode = group(Panel1, "grp_DeviceNode", QStringLiteral(" Node and connection point "),
                           QRect(kPanelBorder, 38, kInnerWidth, 151), scrollBarColour());
    Label1 = label(grp_DeviceNode, "Label1", QStringLiteral("1. Select NODE"), 6, 16, true);
    box_NodeSelect =
        dropDown(grp_DeviceNode, "box_NodeSelect", QRect(6, 30, 132, 22), activeBorderColour());
    box_NodeSelect->setItemDelegate(new NodeListDelegate(box_NodeSelect));
    Label5 =
        label(grp_DeviceNode, "Label5", QStringLiteral("ID for Vembra"), 138, 16, false, navy());
    st_VembraID = named(new QLabel(grp_DeviceNode), "st_VembraID");
    st_VembraID->setGeometry(138, 30, 60, 22);
    st_VembraID->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    st_VembraID->setAlignment(Qt::AlignCenter);

    Label2 = label(grp_DeviceNode, "Label2", QStringLiteral("2. Select Current device type:"), 6,
                   54, true);
    box_DevSelect =
        dropDown(grp_DeviceNode, "box_DevSelect", QRect(6, 68, 192, 21), activeBorderColour());
    box_DevSelect->addItems({QStringLiteral("Fiber node"), QStringLiteral("Amplifiers"),
                             QStringLiteral("Directional couplers"), QStringLiteral("Terminators"),
                             QStringLiteral("Splitter devices"), QStringLiteral("Tap devices"),
                             QStringLiteral("Splice"), QStringLiteral("EQ devices"),
                             QStringLiteral("Power devices"), QStringLiteral("SHOW ALL DEVICES")});
    box_DevSelect->setCurrentIndex(-1);

    Label4 = label(grp_DeviceNode, "Label4", QStringLiteral("3. Select current device ID:"), 6, 92,
                   true);
    box_CurrDevice =
        dropDown(grp_DeviceNode, "box_CurrDevice", QRect(6, 106, 192, 21), activeBorderColour());
    DelayOfDevice = bevelledText(grp_DeviceNode, "DelayOfDevice", QRect(6, 127, 192, 18));
}

void T_frmMain::createEntryGroup()
{
    grp_Pretender = group(Panel1, "grp_Pretender", QStringLiteral(" Enter measured delay "),
                          QRect(kPanelBorder, 189, kInnerWidth, 340), buttonFaceColour());
    setTextColour(grp_Pretender, navy());

    Label3 = label(grp_Pretender, "Label3", QStringLiteral("4. Delay (µs):"), 6, 16, true, navy());
    ed_Measured = entryField(grp_Pretender, "ed_Measured", QRect(6, 31, 78, 21), 5);
    btn_DelayUp = flatButton(grp_Pretender, "btn_DelayUp", QRect(84, 31, 14, 10),
                             pictures::arrowUp(), QSize(7, 4));
    btn_DelayDown = flatButton(grp_Pretender, "btn_DelayDown", QRect(84, 41, 14, 10),
                               pictures::arrowDown(), QSize(7, 4));
    sb_Delay = horizontalBar(grp_Pretender, "sb_Delay", QRect(7, 52, 77, 10), 5000);

    Label8 =
        label(grp_Pretender, "Label8", QStringLiteral("Tolerance (± µs):"), 104, 16, false, navy());
    ed_Delta = entryField(grp_Pretender, "ed_Delta", QRect(102, 31, 80, 21), 4);
    btn_ToleranceUp = flatButton(grp_Pretender, "btn_ToleranceUp", QRect(183, 31, 14, 10),
                                 pictures::arrowUp(), QSize(7, 4));
    btn_ToleranceDown = flatButton(grp_Pretender, "btn_ToleranceDown", QRect(183, 41, 14, 10),
                                   pictures::arrowDown(), QSize(7, 4));
    sb_Tolerance = horizontalBar(grp_Pretender, "sb_Tolerance", QRect(103, 52, 79, 10), 40);

    btnGetCPDDevices = flatButton(grp_Pretender, "btnGetCPDDevices", QRect(6, 68, 191, 28),
                                  pictures::search(), QSize(20, 20));
    btnGetCPDDevices->setText(QStringLiteral("5. Get CPD candidates"));
    btnGetCPDDevices->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnGetCPDDevices->setToolTip(QStringLiteral("Search CPD candidates"));
    setBold(btnGetCPDDevices);
    setTextColour(btnGetCPDDevices, QColor(0, 128, 0));

    sg_Pretender = named(new QTableWidget(grp_Pretender), "sg_Pretender");
    sg_Pretender->setGeometry(6, 96, 191, 217);
    sg_Pretender->setColumnCount(2);
    sg_Pretender->setRowCount(12); // the header and 11 data rows until the grid is fitted
    sg_Pretender->horizontalHeader()->hide();
    sg_Pretender->verticalHeader()->hide();
    sg_Pretender->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    sg_Pretender->verticalHeader()->setMinimumSectionSize(kGridRowHeight);
    sg_Pretender->horizontalHeader()->setDefaultSectionSize(94);
    sg_Pretender->setFrameStyle(QFrame::NoFrame);
    sg_Pretender->setSelectionBehavior(QAbstractItemView::SelectRows);
    sg_Pretender->setSelectionMode(QAbstractItemView::SingleSelection);
    sg_Pretender->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg_Pretender->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg_Pretender->setFocusPolicy(Qt::ClickFocus);
    setTextColour(sg_Pretender, palette().color(QPalette::Text));

    st_Total = named(new QLabel(grp_Pretender), "st_Total");
    st_Total->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    st_Total->setGeometry(2, 321, 200, 17);
    setTextColour(st_Total, palette().color(QPalette::WindowText));
}

void T_frmMain::createProbeGroups()
{
    Panel2 = named(new QFrame(Panel1), "Panel2");
    Panel2->setFrameStyle(QFrame::NoFrame);
    Panel2->setGeometry(kPanelBorder, 529, kInnerWidth, 176);

    const ProbeGroup i = probeGroup(
        Panel2, {"grp_IVexel", "Label6", "cb_IVexelList", "cb_ShowAllIVexel", "st_IVexelText"},
        QStringLiteral("6. Select i-Vexel Probe ID:"), 0, 11);
    grp_IVexel = i.group;
    Label6 = i.label;
    cb_IVexelList = i.list;
    cb_ShowAllIVexel = i.showAll;
    st_IVexelText = i.text;
    const ProbeGroup f = probeGroup(
        Panel2, {"grp_FVexel", "Label7", "cb_FVexelList", "cb_ShowAllFVexel", "st_FVexelText"},
        QStringLiteral("7. Select f-Vexel Probe ID:"), 70, 10);
    grp_FVexel = f.group;
    Label7 = f.label;
    cb_FVexelList = f.list;
    cb_ShowAllFVexel = f.showAll;
    st_FVexelText = f.text;
}

void T_frmMain::createToolButtons()
{
    Panel5 = named(new QFrame(Panel2), "Panel5");
    Panel5->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel5->setLineWidth(1);
    Panel5->setGeometry(0, 140, kInnerWidth, kToolPanelHeight);

    const QSize iconSize(24, 24);
    btn_ExportData =
        flatButton(Panel5, "btn_ExportData", QRect(0, 1, 51, 34), pictures::exportData(), iconSize);
    btn_ExportData->setToolTip(QStringLiteral("Export data into database"));
    btn_SetBGColor = flatButton(Panel5, "btn_SetBGColor", QRect(51, 1, 51, 34),
                                pictures::backgroundColour(), iconSize);
    btn_SetBGColor->setToolTip(QStringLiteral("Map background color"));
    btn_Print = flatButton(Panel5, "btn_Print", QRect(102, 1, 51, 34), pictures::print(), iconSize);
    btn_Settings =
        flatButton(Panel5, "btn_Settings", QRect(153, 1, 51, 34), pictures::settings(), iconSize);
}

void T_frmMain::layoutPanel()
{
    const int clientWidth = ClientWidth();
    const int clientHeight = ClientHeight();
    Panel1->setGeometry(clientWidth - kPanelWidth, 0, kPanelWidth, clientHeight);

    // Panel2 at the bottom holds the tool buttons and, above them, the visible probe groups:
    // i-Vexel above f-Vexel. A hidden group takes no room.
    int panel2Height = kToolPanelHeight;
    if (!grp_IVexel->isHidden())
        panel2Height += kProbeGroupHeight;
    if (!grp_FVexel->isHidden())
        panel2Height += kProbeGroupHeight;
    const int panel2Top = clientHeight - kPanelBorder - panel2Height;
    Panel2->setGeometry(kPanelBorder, panel2Top, kInnerWidth, panel2Height);
    const int panel5Top = panel2Height - kToolPanelHeight;
    Panel5->move(0, panel5Top);
    int top = panel5Top;
    if (!grp_FVexel->isHidden()) {
        top -= kProbeGroupHeight;
        grp_FVexel->move(0, top);
    }
    if (!grp_IVexel->isHidden()) {
        top -= kProbeGroupHeight;
        grp_IVexel->move(0, top);
    }

    // The entry group takes the height between the node group and Panel2.
    const int pretenderTop = grp_DeviceNode->geometry().bottom() + 1;
    grp_Pretender->setGeometry(kPanelBorder, pretenderTop, kInnerWidth,
                               std::max(0, panel2Top - pretenderTop));
    st_Total->move(2, grp_Pretender->height() - 2 - st_Total->height());
}

void T_frmMain::FitCandidateGrid()
{
    const int gridHeight = grp_Pretender->height() - btnGetCPDDevices->y() -
                           btnGetCPDDevices->height() - st_Total->height() - 6;
    sg_Pretender->resize(sg_Pretender->width(), std::max(0, gridHeight));
    const int rows = std::max(1, gridHeight / kGridRowHeight - 1);
    sg_Pretender->setRowCount(rows);
    fitLastColumn();
}

} // namespace vembra
