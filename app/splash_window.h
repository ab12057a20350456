#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace vembra {

// The borderless splash window shown while the program starts: the program's artwork on a
// maroon-bordered panel, centred on the screen.
class Tfrm_Splash : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_Splash(QWidget* parent = nullptr);

    QFrame* panel = nullptr;
    QLabel* picture = nullptr;
};

} // namespace vembra
