// The view-options popup menu, the action list, the window menu with its About item, and the
// connections of the window's handlers.
#include "ui/main_window.h"

#include "ui/message_boxes.h"
#include "ui/paint_box.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vembra {

namespace {

QAction* checkItem(QMenu* menu, const char* name, const QString& caption, bool checked)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

QAction* action(QObject* list, const char* name, const QString& text)
{
    auto* a = new QAction(text, list);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

void T_frmMain::createMenus()
{
    PM = new QMenu(this);
    PM->setObjectName(QStringLiteral("PM"));
    pmi_ShowMarker = checkItem(PM, "pmi_ShowMarker", QStringLiteral("Show marker"), true);
    pmi_ShowLine = checkItem(PM, "pmi_ShowLine", QStringLiteral("Show line"), true);
    pmi_DarkLine = checkItem(PM, "pmi_DarkLine", QStringLiteral("Dark line color"), false);
    pmi_Transparent = checkItem(PM, "pmi_Transparent", QStringLiteral("Transparent style"), false);
    PM->addSeparator();
    pmi_InvertMouse = checkItem(PM, "pmi_InvertMouse", QStringLiteral("Invert mouse"), false);

    AL1 = new QObject(this);
    AL1->setObjectName(QStringLiteral("AL1"));
    act_NodeSelect = action(AL1, "act_NodeSelect", QStringLiteral("Select node"));
    act_NodeSelect->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    act_NodeSelect->setShortcutContext(Qt::WindowShortcut);
    addAction(act_NodeSelect);
    act_DeviceSelect = action(AL1, "act_DeviceSelect", QStringLiteral("Select device"));
    act_PrintCurrent = action(AL1, "act_PrintCurrent", QStringLiteral("Print current view"));
    act_PackData = action(AL1, "act_PackData", QStringLiteral("Pack data"));
    act_ExportData = action(AL1, "act_ExportData", QStringLiteral("Export data"));
    act_EmptyData = action(AL1, "act_EmptyData", QStringLiteral("Empty data"));
    act_PrintCurrent->setIcon(btn_Print->icon());
    act_SaveWorkOrderPdf = action(AL1, "act_SaveWorkOrderPdf", QStringLiteral("Save work order as PDF…"));
    // Printing and saving as PDF, beside each other: held down, the print button offers both.
    auto* printMenu = new QMenu(btn_Print);
    printMenu->addAction(act_PrintCurrent);
    printMenu->addAction(act_SaveWorkOrderPdf);
    btn_Print->setMenu(printMenu);
    btn_Print->setPopupMode(QToolButton::DelayedPopup);
    btn_Print->setDefaultAction(act_PrintCurrent);
    btn_Print->setToolButtonStyle(Qt::ToolButtonIconOnly);

    // The desktop gives a program no access to its window menu here, so the window carries a
    // menu of its own with the same items; its last item, after a separator, is "About...".
    windowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
    windowMenu->setObjectName(QStringLiteral("windowMenu"));
    QAction* minimize = windowMenu->addAction(QStringLiteral("Mi&nimize"));
    connect(minimize, &QAction::triggered, this, &QWidget::showMinimized);
    QAction* maximize = windowMenu->addAction(QStringLiteral("Ma&ximize"));
    connect(maximize, &QAction::triggered, this, [this] {
        if (isMaximized())
            showNormal();
        else
            showMaximized();
    });
    windowMenu->addSeparator();
    QMenu* workOrder = menuBar()->addMenu(QStringLiteral("Work &order"));
    workOrder->addAction(act_PrintCurrent);
    workOrder->addAction(act_SaveWorkOrderPdf);
    QAction* closeItem = windowMenu->addAction(QStringLiteral("&Close"));
    closeItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(closeItem, &QAction::triggered, this, &QWidget::close);
#ifdef Q_OS_WIN
    menuBar()->hide(); // Windows has the real system menu
#endif
}

void T_frmMain::appendAboutItem()
{
#ifdef Q_OS_WIN
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kAboutCommand, "About...");
#else
    windowMenu->addSeparator();
    aboutItem = windowMenu->addAction(QStringLiteral("About..."));
    aboutItem->setObjectName(QStringLiteral("aboutItem"));
    connect(aboutItem, &QAction::triggered, this, [this] { HandleSysCommand(kAboutCommand); });
#endif
}

void T_frmMain::HandleSysCommand(int command)
{
    if (command == kAboutCommand && aboutBoxOpener)
        aboutBoxOpener(this);
}

#ifdef Q_OS_WIN
bool T_frmMain::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_QUERYENDSESSION) {
        *result = HandleQueryEndSession() ? 1 : 0;
        return true;
    }
    if (msg->message == WM_SYSCOMMAND && int(msg->wParam & 0xFFF0) == (kAboutCommand & 0xFFF0) &&
        int(msg->wParam) == kAboutCommand)
        HandleSysCommand(kAboutCommand);
    return QMainWindow::nativeEvent(eventType, message, result);
}
#endif

void T_frmMain::AL1Update()
{
    const bool nodeChosen = box_NodeSelect->currentIndex() >= 0;
    const bool typeChosen = box_DevSelect->currentIndex() >= 0;
    grp_Pretender->setEnabled(nodeChosen && typeChosen);
    btn_Print->setEnabled(nodeChosen);
    act_PrintCurrent->setEnabled(nodeChosen);
    act_SaveWorkOrderPdf->setEnabled(nodeChosen);
}

void T_frmMain::connectHandlers()
{
    // Every user event runs its handler to its end; a failure is shown with its own text.
    const auto handler = [this](void (T_frmMain::*method)()) {
        return [this, method] { runReported(this, [this, method] { (this->*method)(); }); };
    };
    connect(btn_WordDatabase, &QToolButton::clicked, this,
            handler(&T_frmMain::btn_WordDatabaseClick));
    connect(box_NodeSelect, &QComboBox::activated, this, handler(&T_frmMain::box_NodeSelectChange));
    connect(box_DevSelect, &QComboBox::activated, this, handler(&T_frmMain::box_DevSelectChange));
    connect(box_CurrDevice, &QComboBox::activated, this, handler(&T_frmMain::box_CurrDeviceChange));
    connect(cb_IVexelList, &QComboBox::activated, this, handler(&T_frmMain::cb_IVexelListChange));
    connect(cb_FVexelList, &QComboBox::activated, this, handler(&T_frmMain::cb_FVexelListChange));
    connect(cb_ShowAllIVexel, &QCheckBox::clicked, this,
            handler(&T_frmMain::cb_ShowAllIVexelClick));
    connect(cb_ShowAllFVexel, &QCheckBox::clicked, this,
            handler(&T_frmMain::cb_ShowAllFVexelClick));
    connect(btnGetCPDDevices, &QToolButton::clicked, this,
            handler(&T_frmMain::btnGetCPDDevicesClick));
    PB1->onPaint = [this](QPainter& painter) { PB1Paint(painter); };
    PB1->onMouseDown = [this](QMouseEvent* e) { PB1MouseDown(e); };
    PB1->onMouseMove = [this](QMouseEvent* e) { PB1MouseMove(e); };
    PB1->onMouseUp = [this](QMouseEvent* e) { PB1MouseUp(e); };
    for (QAction* item : {pmi_ShowMarker, pmi_ShowLine, pmi_DarkLine, pmi_Transparent})
        connect(item, &QAction::triggered, this, &T_frmMain::pmi_InvertMouseClick);
    connect(btn_SetBGColor, &QToolButton::clicked, this, &T_frmMain::ChooseMapBackground);
    connect(btn_ExportData, &QToolButton::clicked, this, handler(&T_frmMain::btn_ExportDataClick));
    connect(act_PrintCurrent, &QAction::triggered, this, handler(&T_frmMain::act_PrintCurrentExecute));
    connect(act_SaveWorkOrderPdf, &QAction::triggered, this, handler(&T_frmMain::SaveWorkOrderPdf));
    connect(sb_Delay, &QScrollBar::valueChanged, this, &T_frmMain::sb_DelayChange);
    connect(ed_Measured, &QLineEdit::textChanged, this, handler(&T_frmMain::ed_MeasuredChange));
    connect(ed_Delta, &QLineEdit::textChanged, this, handler(&T_frmMain::ed_DeltaChange));
    connect(ed_Measured, &QLineEdit::editingFinished, this, handler(&T_frmMain::ed_MeasuredExit));
    connect(ed_Delta, &QLineEdit::editingFinished, this, handler(&T_frmMain::ed_DeltaExit));
    FRepeatTimer = new QTimer(this);
    FRepeatTimer->setInterval(100);
    connect(FRepeatTimer, &QTimer::timeout, this, [this] {
        if (m_repeatTick)
            (this->*m_repeatTick)();
    });
    const std::pair<QToolButton*, void (T_frmMain::*)()> arrows[] = {
        {btn_DelayUp, &T_frmMain::DelayUpTick},
        {btn_DelayDown, &T_frmMain::DelayDownTick},
        {btn_ToleranceUp, &T_frmMain::ToleranceUpTick},
        {btn_ToleranceDown, &T_frmMain::ToleranceDownTick}};
    for (const auto& [button, tick] : arrows) {
        connect(button, &QToolButton::pressed, this, [this, t = tick] { startRepeat(t); });
        connect(button, &QToolButton::released, this, &T_frmMain::btn_DelayUpMouseUp);
    }
    connect(sb_Tolerance, &QScrollBar::valueChanged, this, &T_frmMain::sb_ToleranceChange);
    connect(btn_Settings, &QToolButton::clicked, this, [this] { PM->popup(QCursor::pos()); });
    // The action list is brought up to date whenever the program is about to wait for input.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &T_frmMain::AL1Update);
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { HandleQueryEndSession(); });
    AL1Update();
}

} // namespace vembra
