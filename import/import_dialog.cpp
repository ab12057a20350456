#include "import/import_dialog.h"

#include "platform/settings/registry_settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>

namespace vembra {

namespace {

const QString kExportSection = QStringLiteral("Export");
const QString kHistoryIP = QStringLiteral("HistoryIP");
const QString kHistory = QStringLiteral("History");
const QString kDefaultHistoryIP = QStringLiteral("127.0.0.1");
const QString kDefaultHistory = QStringLiteral("c:\\database\\");

template <typename W>
W* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(left, top, width, height);
    return w;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

QLabel* statusLine(QWidget* parent, const char* name, int left, int top)
{
    auto* l = place<QLabel>(parent, name, left, top, 241, 18);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return l;
}

QToolButton* listButton(QWidget* parent, const char* name, const char* text, int top)
{
    auto* b = place<QToolButton>(parent, name, 166, top, 21, 19);
    b->setText(QLatin1String(text));
    b->setAutoRaise(true);
    b->setEnabled(false);
    return b;
}

QGroupBox* group(QWidget* parent, const char* name, const char* title, int left)
{
    auto* g = place<QGroupBox>(parent, name, left, 12, left == 8 ? 305 : 230, 194);
    g->setTitle(QLatin1String(title));
    QFont bold = g->font();
    bold.setBold(true);
    g->setFont(bold);
    return g;
}

// Children of a bold group box keep the dialog's normal face.
void normalFace(QWidget* w, const QFont& font)
{
    // The weight is set explicitly: a font that only repeats the inherited one would let the
    // children inherit the group's bold face.
    QFont normal = font;
    normal.setBold(false);
    for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setFont(normal);
}

// A small picture of a folder with an arrow: the source chooser.
QIcon chooserPicture(const QStyle* style)
{
    return style->standardIcon(QStyle::SP_DirOpenIcon);
}

// The picture of "Start export": a database drum with an arrow into it.
QIcon exportPicture()
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(200, 210, 240));
    p.drawRect(QRectF(9, 8, 12, 13));
    p.drawEllipse(QRectF(9, 5, 12, 6));
    p.setBrush(QColor(0, 0, 128));
    const QPointF arrow[] = {{2, 12}, {7, 12}, {7, 9}, {11, 14}, {7, 19}, {7, 16}, {2, 16}};
    p.drawPolygon(arrow, 7);
    return QIcon(pm);
}

} // namespace

QString qtFileFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i];
    return filters.join(QLatin1String(";;"));
}

Tfrm_Export::Tfrm_Export(ImportHost host, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_host(std::move(host))
{
    createControls();
}

Tfrm_Export::~Tfrm_Export()
{
    if (m_transferring)
        qApp->removeEventFilter(this);
}

void Tfrm_Export::createControls()
{
    setObjectName(QStringLiteral("frm_Export"));
    setWindowTitle(QStringLiteral("Export from database"));
    setFixedSize(557, 265);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    Panel2 = place<QFrame>(this, "Panel2", 0, 0, 557, 224);
    Panel1 = place<QFrame>(this, "Panel1", 0, 224, 557, 41);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SpeedButton1 = place<QToolButton>(Panel1, "SpeedButton1", 474, 8, 73, 25);
    SpeedButton1->setText(QStringLiteral("Close"));

    GroupBox1 = group(Panel2, "GroupBox1", " Source database ", 8);
    Label1 = label(GroupBox1, "Label1", QStringLiteral("Server IP:"), 6, 19);
    Edit1 = place<QLineEdit>(GroupBox1, "Edit1", 56, 16, 110, 21);
    Edit1->setToolTip(QStringLiteral("IP address of remote server"));
    Label2 = label(GroupBox1, "Label2", QStringLiteral("Path:"), 6, 43);
    Edit2 = place<QLineEdit>(GroupBox1, "Edit2", 56, 40, 218, 21);
    Edit2->setToolTip(QStringLiteral("Local path to database on remote server"));
    SpeedButton2 = place<QToolButton>(GroupBox1, "SpeedButton2", 274, 40, 23, 22);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(chooserPicture(style()));
    SpeedButton2->setIconSize(QSize(16, 16));
    Status1 = statusLine(GroupBox1, "Status1", 56, 64);
    Status2 = statusLine(GroupBox1, "Status2", 56, 84);
    Label3 = label(GroupBox1, "Label3", QStringLiteral("Node:"), 6, 107);
    SrcList = place<QListWidget>(GroupBox1, "SrcList", 56, 108, 110, 76);
    SrcList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SrcList->setToolTip(QStringLiteral("Full node list"));
    btn_LeftToRight = listButton(GroupBox1, "btn_LeftToRight", ">", 108);
    btn_LeftToRightAll = listButton(GroupBox1, "btn_LeftToRightAll", ">>", 127);
    btn_RightToLeft = listButton(GroupBox1, "btn_RightToLeft", "<", 146);
    btn_RightToLeftAll = listButton(GroupBox1, "btn_RightToLeftAll", "<<", 165);
    DstList = place<QListWidget>(GroupBox1, "DstList", 186, 108, 110, 76);
    DstList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DstList->setToolTip(QStringLiteral("Node to export"));
    normalFace(GroupBox1, font());

    Label6 = label(Panel2, "Label6", QString(), 22, 208);
    Label6->setMinimumWidth(520);

    GroupBox2 = group(Panel2, "GroupBox2", " Export settings ", 319);
    box_ClearDestination = place<QCheckBox>(GroupBox2, "box_ClearDestination", 6, 20, 180, 17);
    box_ClearDestination->setText(QStringLiteral("Clear local database"));
    box_ClearDestination->setToolTip(QStringLiteral("delete all data from local database"));
    Label7 = label(GroupBox2, "Label7", QStringLiteral("DB name:"), 6, 44);
    ed_DBFileName = place<QLineEdit>(GroupBox2, "ed_DBFileName", 60, 40, 163, 21);
    btn_StartExport = place<QToolButton>(GroupBox2, "btn_StartExport", 6, 108, 217, 33);
    btn_StartExport->setText(QStringLiteral("Start export"));
    btn_StartExport->setIcon(exportPicture());
    btn_StartExport->setIconSize(QSize(24, 24));
    btn_StartExport->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btn_StartExport->setAutoRaise(true);
    btn_StartExport->setEnabled(false);
    Label4 = label(GroupBox2, "Label4", QStringLiteral("Progress on Node:"), 6, 145);
    Label5 = label(GroupBox2, "Label5", QString(), 101, 145);
    Label5->setMinimumWidth(122);
    Progress1 = place<QProgressBar>(GroupBox2, "Progress1", 6, 162, 217, 17);
    Progress1->setTextVisible(false);
    normalFace(GroupBox2, font());
    QFont startFont = btn_StartExport->font();
    startFont.setBold(true);
    btn_StartExport->setFont(startFont);
    QPalette navy = btn_StartExport->palette();
    navy.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    btn_StartExport->setPalette(navy);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Status1);
    setTabOrder(Status1, Status2);
    setTabOrder(Status2, SrcList);
    setTabOrder(SrcList, DstList);
    setTabOrder(box_ClearDestination, Progress1);
    setTabOrder(Progress1, ed_DBFileName);

    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_Export::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tfrm_Export::SpeedButton2Click);
    connect(btn_LeftToRight, &QToolButton::clicked, this, &Tfrm_Export::btn_LeftToRightClick);
    connect(btn_LeftToRightAll, &QToolButton::clicked, this, &Tfrm_Export::btn_LeftToRightAllClick);
    connect(btn_RightToLeft, &QToolButton::clicked, this, &Tfrm_Export::btn_RightToLeftClick);
    connect(btn_RightToLeftAll, &QToolButton::clicked, this, &Tfrm_Export::btn_RightToLeftAllClick);
    connect(btn_StartExport, &QToolButton::clicked, this, &Tfrm_Export::btn_StartExportClick);
    connect(Edit2, &QLineEdit::textChanged, this, &Tfrm_Export::Edit2Change);
}

bool Tfrm_Export::runStep(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        if (m_host.error)
            m_host.error(this, QString::fromUtf8(e.what()));
        return false;
    }
}

void Tfrm_Export::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tfrm_Export::keyPressEvent(QKeyEvent* event)
{
    // Esc does not close the dialog: it breaks a transfer off, and nothing else.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tfrm_Export::FormShow()
{
    ResetDialog();
    runStep([this] {
        const RegistrySettings settings;
        Edit1->setText(settings.readString(kExportSection, kHistoryIP).value_or(kDefaultHistoryIP));
        Edit2->setText(settings.readString(kExportSection, kHistory).value_or(kDefaultHistory));
        Edit2Change(); // also when the text did not change
    });
}

void Tfrm_Export::FormCloseQuery()
{
    runStep([this] {
        RegistrySettings settings;
        if (!Edit1->text().isEmpty())
            settings.writeString(kExportSection, kHistoryIP, Edit1->text());
        if (!Edit2->text().isEmpty())
            settings.writeString(kExportSection, kHistory, Edit2->text());
        settings.flush();
    });
}

void Tfrm_Export::done(int result)
{
    FormCloseQuery();
    QDialog::done(result);
}

void Tfrm_Export::reject()
{
    if (m_transferring)
        return;
    done(kModalCancel);
}

void Tfrm_Export::SpeedButton1Click()
{
    done(kModalOk);
}

void Tfrm_Export::Edit2Change()
{
    ed_DBFileName->setText(destinationNameFromPath(Edit2->text()));
}

void Tfrm_Export::ResetDialog()
{
    SrcList->clear();
    DstList->clear();
    Status1->clear();
    Status2->clear();
    Label5->clear();
    Label6->clear();
    Progress1->setValue(0);
    box_ClearDestination->setChecked(true);
    UpdateMoveButtons();
}

void Tfrm_Export::UpdateMoveButtons()
{
    const bool source = SrcList->count() > 0;
    const bool dest = DstList->count() > 0;
    btn_LeftToRight->setEnabled(source);
    btn_LeftToRightAll->setEnabled(source);
    btn_RightToLeft->setEnabled(dest);
    btn_RightToLeftAll->setEnabled(dest);
    btn_StartExport->setEnabled(dest);
}

int Tfrm_Export::FirstSelectedIndex(QListWidget* list)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            return i;
    }
    return -1;
}

void Tfrm_Export::MoveSelectedItems(QListWidget* list, QListWidget* dest)
{
    for (int i = list->count() - 1; i >= 0; --i) {
        if (list->item(i)->isSelected()) {
            dest->addItem(list->item(i)->text());
            delete list->takeItem(i);
        }
    }
}

void Tfrm_Export::ReselectAfterMove(QListWidget* list, int index)
{
    list->setFocus();
    if (index == -1)
        index = 0;
    else if (index > list->count() - 1)
        index = list->count() - 1;
    list->clearSelection();
    if (index >= 0 && index < list->count()) {
        list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    }
    UpdateMoveButtons();
}

void Tfrm_Export::btn_LeftToRightClick()
{
    if (SrcList->count() == 0)
        return;
    const int index = FirstSelectedIndex(SrcList);
    MoveSelectedItems(SrcList, DstList);
    ReselectAfterMove(SrcList, index);
}

void Tfrm_Export::btn_RightToLeftClick()
{
    const int index = FirstSelectedIndex(DstList);
    MoveSelectedItems(DstList, SrcList);
    ReselectAfterMove(DstList, index);
}

void Tfrm_Export::btn_LeftToRightAllClick()
{
    if (SrcList->currentRow() < 0)
        return;
    for (int i = 0; i < SrcList->count(); ++i)
        DstList->addItem(SrcList->item(i)->text());
    SrcList->clear();
    ReselectAfterMove(SrcList, 0);
}

void Tfrm_Export::btn_RightToLeftAllClick()
{
    for (int i = 0; i < DstList->count(); ++i)
        SrcList->addItem(DstList->item(i)->text());
    DstList->clear();
    ReselectAfterMove(DstList, 0);
}

} // namespace vembra
