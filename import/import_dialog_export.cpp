#include "import/destination.h"
#include "import/import_dialog.h"
#include "import/node_transfer.h"

#include "app/dm/data_module.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QThread>
#include <QToolButton>

namespace vembra {

namespace {

// Repaints and key presses are let through at most this often during a node's device rows, so
// that a node of many devices is not slowed down by its own progress display.
constexpr qint64 kEventsEveryMs = 40;

// The dialog's view of one transfer: progress, node label, the Esc test.
class DialogObserver : public TransferObserver {
public:
    DialogObserver(Tfrm_Export& dialog, bool& escPressed)
        : m_dialog(dialog), m_escPressed(escPressed)
    {
    }

    void nodeStarted(int index, const QString& name) override
    {
        m_dialog.Progress1->setValue(0);
        m_dialog.Label5->setText(name);
        if (QListWidgetItem* item = m_dialog.DstList->item(index))
            m_dialog.DstList->scrollToItem(item, QAbstractItemView::PositionAtTop);
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }

    void deviceCountKnown(int count) override
    {
        m_dialog.Progress1->setRange(0, std::max(count, 1));
        m_dialog.Progress1->setValue(0);
    }

    bool deviceWritten() override
    {
        if (m_sinceEvents.elapsed() >= kEventsEveryMs) {
            QCoreApplication::processEvents();
            m_sinceEvents.start();
        }
        if (m_escPressed) {
            m_escPressed = false;
            const bool stop = m_dialog.host().confirm(
                &m_dialog,
                QStringLiteral("Break performing the procedure of export into database?"));
            if (stop)
                return false;
        }
        m_dialog.Progress1->setValue(m_dialog.Progress1->value() + 1);
        return true;
    }

private:
    Tfrm_Export& m_dialog;
    bool& m_escPressed;
    QElapsedTimer m_sinceEvents;
};

} // namespace

bool Tfrm_Export::eventFilter(QObject* watched, QEvent* event)
{
    // During a transfer the Esc key is noticed wherever it is pressed, and goes no further.
    if (m_transferring && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_escPressed = true;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Export::SpeedButton2Click()
{
    ResetDialog();
    if (!runStep([this] { QueryServerPlatform(); }))
        return;
    runStep([this] { ChooseSource(); });
}

void Tfrm_Export::QueryServerPlatform()
{
    ServerPlatform = kPlatformNone;
    try {
        const PlatformAnswer answer =
            vembra::QueryServerPlatform(*m_host.dm, Edit1->text(), m_host.dm->systemPassword());
        ServerPlatform = answer.platform;
        Label6->setText(answer.label);
    } catch (const std::exception&) {
        // A file on this machine opens without any server: only a server source needs the
        // service manager's answer.
        if (!isLocalSourceServer(Edit1->text()))
            throw;
    }
}

void Tfrm_Export::ChooseSource()
{
    m_host.dm->FDB.close();
    if (isLocalSourceServer(Edit1->text())) {
        const QString picked =
            m_host.openFile
                ? m_host.openFile(this, qtFileFilter(QString::fromLatin1(kSourceFilter)))
                : QString();
        if (!picked.isEmpty()) {
            Edit2->setText(picked);
            FSourceName = picked;
        } else {
            FSourceName = Edit2->text().trimmed();
        }
    } else {
        FSourceName = serverSourceName(Edit1->text(), Edit2->text(), ServerPlatform);
    }
    if (FSourceName.isEmpty())
        return;
    SourceState state;
    struct ShowOnExit {
        Tfrm_Export& d;
        SourceState& s;
        ~ShowOnExit() { d.showSourceState(s); }
    } showOnExit{*this, state};
    ConnectSource(*m_host.dm, FSourceName, state);
    ReadSourceSettings();
}

void Tfrm_Export::showSourceState(const SourceState& state)
{
    FSourceName = state.FSourceName;
    Status1->setText(state.status1);
    Status2->setText(state.status2);
    if (state.listed) {
        SrcList->clear();
        DstList->clear();
        SrcList->addItems(state.nodes);
        HasJumperDistance = state.HasJumperDistance;
    }
    UpdateMoveButtons();
}

void Tfrm_Export::ReadSourceSettings()
{
    if (m_host.hasIVexel)
        *m_host.hasIVexel = false;
    const std::optional<SettingsFlags> flags = vembra::ReadSourceSettings(*m_host.dm);
    if (!flags)
        return;
    if (m_host.hasIVexel)
        *m_host.hasIVexel = flags->iVexel;
    if (m_host.hasFVexel)
        *m_host.hasFVexel = flags->fVexel;
    if (m_host.showIVexelGroup)
        m_host.showIVexelGroup(flags->iVexel);
}

void Tfrm_Export::PrepareDestination()
{
    m_lastPrepared = vembra::PrepareDestination(*m_host.dm, ed_DBFileName->text(), m_host.appFolder,
                                                m_host.exeDir, [this](const QString& question) {
                                                    return m_host.confirm(this, question);
                                                }) == DestinationOutcome::Pointed;
}

void Tfrm_Export::setTransferring(bool on)
{
    m_transferring = on;
    GroupBox1->setEnabled(!on);
    Panel1->setEnabled(!on);
    if (on) {
        btn_StartExport->setEnabled(false);
        m_escPressed = false;
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
        btn_StartExport->setEnabled(DstList->count() > 0);
    }
}

void Tfrm_Export::btn_StartExportClick()
{
    if (m_transferring)
        return;
    setTransferring(true);
    struct Guard {
        Tfrm_Export& d;
        ~Guard()
        {
            d.m_host.dm->T2.close();
            d.m_host.dm->T1.close();
            d.setTransferring(false);
        }
    };
    bool complete = false;
    bool broken = false;
    {
        Guard guard{*this};
        complete = runStep([this, &broken] {
            PrepareDestination();
            if (m_lastPrepared && m_host.workDBName)
                *m_host.workDBName = ed_DBFileName->text() + QStringLiteral(".mdb");
            if (box_ClearDestination->isChecked())
                clearDestination(*m_host.dm);
            QThread::msleep(100);
            const TransferColumns columns = probeTransferColumns(*m_host.dm, HasJumperDistance);
            DialogObserver observer(*this, m_escPressed);
            for (int i = 0; i < DstList->count(); ++i) {
                const QString name = DstList->item(i)->text();
                if (transferNode(*m_host.dm, i, name, columns, observer) == NodeOutcome::Broken) {
                    broken = true;
                    return;
                }
            }
        });
    }
    if (!complete || broken)
        return;
    m_host.information(this, QStringLiteral("Export data from database complete."));
    done(kModalOk);
}

} // namespace vembra
