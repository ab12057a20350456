#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace vembra {

// The three kinds of message the program shows. Tests replace them to answer without a user.
struct MessageBoxes {
    std::function<void(QWidget*, const QString&)> error;
    std::function<bool(QWidget*, const QString&)> confirm; // Yes: true
    std::function<void(QWidget*, const QString&)> information;
    std::function<void(QWidget*, const QString&)> plain;
};

// The message boxes in use (modal Qt message boxes unless replaced).
MessageBoxes& messageBoxes();

void showError(QWidget* parent, const QString& text);
bool askConfirmation(QWidget* parent, const QString& text);
void showInformation(QWidget* parent, const QString& text);
void showPlainMessage(QWidget* parent, const QString& text);

// The text of a caught exception as the user sees it.
QString errorText(const std::exception& e);

// Runs a step of an event handler; a failure ends the step and is shown in an error box with
// its own text. True when the step ran to its end.
bool runReported(QWidget* parent, const std::function<void()>& step);

} // namespace vembra
