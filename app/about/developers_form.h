#pragma once

#include "app/about/developers.h"

#include <QDialog>

#include <functional>

class QStandardItemModel;
class QTableView;

namespace vembra {

// The credits list: a read-only grid of the product's creators whose mail addresses open in the
// mail program on a double click.
class TfrmDevelopers : public QDialog {
    Q_OBJECT
public:
    // Hands an address to the desktop (QDesktopServices::openUrl in the program).
    using UrlOpener = std::function<bool(const QUrl&)>;

    static constexpr int kClientWidth = 555;
    static constexpr int kClientHeight = 306;

    // Builds the window and runs FormCreate with the rows.
    explicit TfrmDevelopers(QWidget* owner = nullptr, QList<DeveloperRow> rows = creatorRows(),
                            UrlOpener openUrl = {});
    ~TfrmDevelopers() override;

    // Fills the table; FFilled tells whether that went without error.
    void FormCreate();
    // Opens the mail address of the current row, when it has one.
    void DBgDevelopersDblClick();
    // Shows the list modally when it was filled; returns whether it was shown.
    bool ShowIfFilled();

    QTableView* DBgDevelopers = nullptr;
    QStandardItemModel* cdsDevelopers = nullptr;
    bool FFilled = false;

private:
    QList<DeveloperRow> m_rows;
    UrlOpener m_openUrl;
};

} // namespace vembra
