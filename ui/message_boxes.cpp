#include "ui/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace vembra {

namespace {

QString caption()
{
    return QApplication::applicationName();
}

MessageBoxes defaults()
{
    MessageBoxes boxes;
    boxes.error = [](QWidget* parent, const QString& text) {
        QMessageBox::critical(parent, caption(), text, QMessageBox::Ok);
    };
    boxes.confirm = [](QWidget* parent, const QString& text) {
        return QMessageBox::question(parent, caption(), text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    boxes.information = [](QWidget* parent, const QString& text) {
        QMessageBox::information(parent, caption(), text, QMessageBox::Ok);
    };
    boxes.plain = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, caption(), text, QMessageBox::Ok, parent);
        box.exec();
    };
    return boxes;
}

} // namespace

MessageBoxes& messageBoxes()
{
    static MessageBoxes boxes = defaults();
    return boxes;
}

void showError(QWidget* parent, const QString& text)
{
    messageBoxes().error(parent, text);
}

bool askConfirmation(QWidget* parent, const QString& text)
{
    return messageBoxes().confirm(parent, text);
}

void showInformation(QWidget* parent, const QString& text)
{
    messageBoxes().information(parent, text);
}

void showPlainMessage(QWidget* parent, const QString& text)
{
    messageBoxes().plain(parent, text);
}

QString errorText(const std::exception& e)
{
    return QString::fromUtf8(e.what());
}

bool runReported(QWidget* parent, const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        showError(parent, errorText(e));
    } catch (...) {
        showError(parent, QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace vembra
