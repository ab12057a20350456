// Keys, the mouse wheel, dragging the map, the view options and the background colour.
#include "ui/main_window.h"

#include "app/settings/map_colour.h"
#include "ui/main_unit.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTimer>
#include <QWheelEvent>

namespace vembra {

namespace {

// Exactly Ctrl of the modifier keys: no Shift, no Alt.
bool ctrlAlone(Qt::KeyboardModifiers m)
{
    return (m & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier)) ==
           Qt::ControlModifier;
}

bool keypad(const QKeyEvent* e, int key)
{
    return e->key() == key && e->modifiers().testFlag(Qt::KeypadModifier);
}

} // namespace

QString T_frmMain::hotKeyText()
{
    return QStringLiteral("Program hot keys list:\n\n\r"
                          "Digital + (Q) - set map zoom plus\n\r"
                          "Digital - (A) - set map zoom minus\n\n\r"
                          "Ctrl + increment visual map element size\n\r"
                          "Ctrl - decrement visual map element size\n\n\r"
                          "Ctrl + P - print current graph position\n\r");
}

void T_frmMain::FormKeyDown(const QKeyEvent* e)
{
    const bool ctrl = ctrlAlone(e->modifiers());
    if (ctrl && keypad(e, Qt::Key_Plus))
        GrowMarkers();
    else if (ctrl && keypad(e, Qt::Key_Minus))
        ShrinkMarkers();
    else if (!ctrl && (e->key() == Qt::Key_Q || keypad(e, Qt::Key_Plus)))
        ZoomIn(10);
    else if (!ctrl && (e->key() == Qt::Key_A || keypad(e, Qt::Key_Minus)))
        ZoomOut(10);
}

void T_frmMain::FormKeyUp(const QKeyEvent* e)
{
    if (!ctrlAlone(e->modifiers()))
        return;
    if (e->key() == Qt::Key_F1)
        showPlainMessage(this, hotKeyText());
    else if (e->key() == Qt::Key_P)
        act_PrintCurrent->trigger();
}

bool T_frmMain::FormMouseWheel(const QWheelEvent* e)
{
    if (!FMapLoaded)
        return false;
    const int delta = e->angleDelta().y();
    const bool inverted = pmi_InvertMouse->isChecked();
    if (delta > 0) {
        if (inverted)
            ZoomIn(1);
        else
            ZoomOut(1);
    } else if (delta < 0) {
        if (inverted)
            ZoomOut(1);
        else
            ZoomIn(1);
    }
    return true;
}

bool T_frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == ed_Measured || watched == ed_Delta) && event->type() == QEvent::KeyPress) {
        auto* edit = static_cast<QLineEdit*>(watched);
        bool used = false;
        runReported(this, [&] { used = entryKeyPress(edit, static_cast<QKeyEvent*>(event)); });
        if (used) {
            // The window still sees the key first, as every key.
            runReported(this, [&] { FormKeyDown(static_cast<QKeyEvent*>(event)); });
            return true;
        }
    }
    if ((watched == ed_Measured || watched == ed_Delta) && event->type() == QEvent::FocusIn) {
        auto* edit = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, edit, [edit, this] {
            if (edit == ed_Measured)
                edit->selectAll();
            else
                edit->setSelection(1, int(edit->text().size()));
        });
    }
    if (watched == sg_Pretender->viewport() && event->type() == QEvent::MouseButtonRelease)
        runReported(this, [&] { sg_PretenderMouseUp(static_cast<QMouseEvent*>(event)); });
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // The window sees every key first (once, at its first receiver) and lets it go on.
        QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        if (widget == first) {
            const auto* key = static_cast<QKeyEvent*>(event);
            runReported(this, [&] {
                if (event->type() == QEvent::KeyPress)
                    FormKeyDown(key);
                else if (!key->isAutoRepeat())
                    FormKeyUp(key);
            });
        }
        break;
    }
    case QEvent::Wheel:
        if (FormMouseWheel(static_cast<QWheelEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void T_frmMain::PB1MouseDown(const QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    PB1->setCursor(Qt::PointingHandCursor);
    FDragging = -1;
    FDragStartX = int(e->position().x());
    FDragStartY = int(e->position().y());
}

void T_frmMain::PB1MouseMove(const QMouseEvent* e)
{
    if (!FMapLoaded || FDragging == 0)
        return;
    const QPoint moved = PB1->pos() - QPoint(FDragStartX - int(e->position().x()),
                                             FDragStartY - int(e->position().y()));
    PB1->move(moved);
    FView.paintBoxOrigin = moved;
    centreFromPaintBox(FView, clientArea());
}

void T_frmMain::PB1MouseUp(const QMouseEvent*)
{
    if (FDragging == 0)
        return;
    FDragging = 0;
    PB1->unsetCursor();
}

void T_frmMain::pmi_InvertMouseClick()
{
    PB1->update();
}

void T_frmMain::ChooseMapBackground()
{
    const std::optional<QColor> colour =
        colourChooser ? colourChooser() : [this]() -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(Qt::white, this);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    }();
    if (colour)
        setMapBackground(storedFromColour(*colour));
}

void T_frmMain::recentreAfterResize()
{
    if (FMapLoaded) {
        if (FCenterOnCandidate) {
            const int row = sg_Pretender->currentRow();
            if (const QTableWidgetItem* item = row > 0 ? sg_Pretender->item(row, 0) : nullptr)
                CenterOnDevice(item->text());
        } else if (box_CurrDevice->currentIndex() >= 0) {
            CenterOnDevice(box_CurrDevice->currentText());
        }
    } else {
        // Without a map the picture only says so (it shows on paper, not on screen).
        FMap.clear();
        FMapNotDefined = true;
    }
}

} // namespace vembra
