#include "app/about/about_box.h"

#include "app/about/about_form.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace vembra {

void openAboutBox(QWidget* owner)
{
    QString error;
    {
        Tfrm_About box(owner);
        box.exec();
        error = box.showError();
    }
    if (!error.isEmpty())
        QMessageBox::critical(owner, QGuiApplication::applicationDisplayName(), error);
}

} // namespace vembra
