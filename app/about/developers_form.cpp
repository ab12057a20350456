#include "app/about/developers_form.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <exception>
#include <iterator>

namespace vembra {

namespace {

constexpr int kColumnWidths[] = {176, 210, 109};

} // namespace

TfrmDevelopers::TfrmDevelopers(QWidget* owner, QList<DeveloperRow> rows, UrlOpener openUrl)
    : QDialog(owner), m_rows(std::move(rows)), m_openUrl(std::move(openUrl))
{
    if (!m_openUrl)
        m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setObjectName(QStringLiteral("frmDevelopers"));
    setWindowTitle(QStringLiteral("Creator list"));
    resize(kClientWidth, kClientHeight);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    cdsDevelopers = new QStandardItemModel(this);
    cdsDevelopers->setObjectName(QStringLiteral("cdsDevelopers"));
    DBgDevelopers = new QTableView(this);
    DBgDevelopers->setObjectName(QStringLiteral("DBgDevelopers"));
    DBgDevelopers->setModel(cdsDevelopers);
    DBgDevelopers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBgDevelopers->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBgDevelopers->setSelectionMode(QAbstractItemView::SingleSelection);
    DBgDevelopers->verticalHeader()->setDefaultSectionSize(DBgDevelopers->fontMetrics().height() +
                                                           6);
    // The grid keeps its distance to all four sides: 8, 8, 12 and 9 pixels at the design size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, kClientWidth - 8 - 535, kClientHeight - 8 - 289);
    layout->addWidget(DBgDevelopers);
    connect(DBgDevelopers, &QTableView::doubleClicked, this,
            &TfrmDevelopers::DBgDevelopersDblClick);

    FormCreate();
}

TfrmDevelopers::~TfrmDevelopers() = default;

void TfrmDevelopers::FormCreate()
{
    try {
        fillDevelopers(*cdsDevelopers, m_rows);
        FFilled = true;
    } catch (const std::exception&) {
        cdsDevelopers->clear();
        FFilled = false;
    }
    for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c)
        DBgDevelopers->setColumnWidth(c, kColumnWidths[c]);
    DBgDevelopers->setColumnHidden(kNotesColumn, true);
    if (cdsDevelopers->rowCount() > 0)
        DBgDevelopers->setCurrentIndex(cdsDevelopers->index(0, 0));
}

void TfrmDevelopers::DBgDevelopersDblClick()
{
    const QModelIndex current = DBgDevelopers->currentIndex();
    if (!current.isValid())
        return;
    const QString eMail = cdsDevelopers->index(current.row(), kEMailColumn).data().toString();
    if (const std::optional<QUrl> url = mailtoUrl(eMail))
        m_openUrl(*url);
}

bool TfrmDevelopers::ShowIfFilled()
{
    if (!FFilled)
        return false;
    exec();
    return true;
}

} // namespace vembra
