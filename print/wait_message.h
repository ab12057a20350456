#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;

namespace vembra {

// Size of the wait window's outer panel for a text of the given size: the text plus 36 × 26,
// never below 330 × 50.
QSize waitPanelSize(const QSize& textSize);

// A small borderless box with one line of text, shown while a long task runs.
class Tfrm_WaitMsg : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_WaitMsg(QWidget* parent = nullptr);

    QString FMessage;
    bool centred = false;

    QFrame* Panel1 = nullptr;
    QLabel* pnText = nullptr;
    QFrame* Bevel1 = nullptr;

    // Sizes the panel to the text; runs when the window is shown.
    void LayoutMessage();

protected:
    void showEvent(QShowEvent* event) override;
};

// The wait window while one exists; null otherwise.
extern Tfrm_WaitMsg* frm_WaitMsg;

// Shows the wait window with the text (centred on the screen, or at 100, 50), painted at once.
// When one is shown already, only its text changes.
void ShowWaitMessage(bool centred, const QString& text);
// Changes the shown text; the size stays.
void UpdateWaitMessage(const QString& text);
// Closes and destroys the wait window.
void HideWaitMessage();

} // namespace vembra
