#include "app/about/about_form.h"

#include "app/about/about_files.h"
#include "app/about/developers_form.h"
#include "platform/folders/app_folders.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>

namespace vembra {

namespace {

constexpr int kBottomPanelHeight = 41;
const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);

QLabel* addLabel(QWidget* page, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, page);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A value label: the width of the Comments value, the height of its text.
QLabel* addValue(QWidget* page, const char* name, int x, int y)
{
    auto* label = new QLabel(page);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, 371, label->fontMetrics().height() + 2);
    return label;
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

AboutSources defaultAboutSources()
{
    AboutSources sources;
    sources.programFolder = folders::programFolder();
    sources.versionResource = [] {
        return readVersionResource(QCoreApplication::applicationFilePath());
    };
    sources.showCredits = [] {
        TfrmDevelopers developers(nullptr);
        developers.ShowIfFilled();
    };
    return sources;
}

Tfrm_About::Tfrm_About(QWidget* owner, AboutSources sources)
    : QDialog(owner), m_sources(std::move(sources))
{
    setObjectName(QStringLiteral("frm_About"));
    setWindowTitle(QStringLiteral("The Vembra Navigator"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    createControls();
    FormCreate();
    // The box previews every key: its controls pass their key presses through it first.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

Tfrm_About::~Tfrm_About() = default;

void Tfrm_About::createControls()
{
    PCnt = new QTabWidget(this);
    PCnt->setObjectName(QStringLiteral("PCnt"));
    PCnt->setGeometry(0, 0, kClientWidth, kClientHeight - kBottomPanelHeight);
    createAboutPage();
    createLicensePage();

    bottomPanel = new QFrame(this);
    bottomPanel->setObjectName(QStringLiteral("bottomPanel"));
    bottomPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bottomPanel->setGeometry(0, kClientHeight - kBottomPanelHeight, kClientWidth,
                             kBottomPanelHeight);
    btnOK = new QPushButton(QStringLiteral("OK"), bottomPanel);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(185, 8, 76, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void Tfrm_About::createAboutPage()
{
    TSAbout = new QWidget;
    TSAbout->setObjectName(QStringLiteral("TSAbout"));
    PCnt->addTab(TSAbout, QStringLiteral("About"));

    logoPanel = new QFrame(TSAbout);
    logoPanel->setObjectName(QStringLiteral("logoPanel"));
    logoPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    logoPanel->setLineWidth(2);
    logoPanel->setGeometry(4, 12, 439, 154);
    Image1 = new QLabel(logoPanel);
    Image1->setObjectName(QStringLiteral("Image1"));
    setLogo(QPixmap(QString::fromLatin1(kDefaultLogoResource)));

    addLabel(TSAbout, QStringLiteral("Product:"), 10, 186);
    Product = addValue(TSAbout, "Product", 66, 176);
    QFont productFont(QStringLiteral("Verdana"));
    productFont.setPixelSize(21);
    productFont.setBold(true);
    Product->setFont(productFont);
    Product->setFixedHeight(QFontMetrics(productFont).height() + 2);
    setTextColour(Product, kNavy);

    addLabel(TSAbout, QStringLiteral("Version:"), 10, 212);
    Version = addValue(TSAbout, "Version", 66, 212);
    setTextColour(Version, kGreen);
    addLabel(TSAbout, QStringLiteral("Company:"), 6, 236);
    Company = addValue(TSAbout, "Company", 66, 236);
    addLabel(TSAbout, QStringLiteral("Copyright:"), 6, 260);
    Copyright = addValue(TSAbout, "Copyright", 66, 260);
    addLabel(TSAbout, QStringLiteral("Comments:"), 6, 288);
    Comments = addValue(TSAbout, "Comments", 66, 288);
    Comments->setFixedSize(371, 37);
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Tfrm_About::createLicensePage()
{
    TSLicense = new QWidget;
    TSLicense->setObjectName(QStringLiteral("TSLicense"));
    PCnt->addTab(TSLicense, QStringLiteral("License"));
    Memo1 = new QPlainTextEdit(TSLicense);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(TSLicense);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
}

void Tfrm_About::setLogo(const QPixmap& picture)
{
    // Sized to its picture and centred in its panel.
    Image1->setPixmap(picture);
    Image1->resize(picture.size());
    Image1->move((logoPanel->width() - picture.width()) / 2,
                 (logoPanel->height() - picture.height()) / 2);
}

void Tfrm_About::FormCreate()
{
    m_keys = std::make_unique<KeySequenceMatcher>(BuildKeySequence(), m_sources.showCredits,
                                                  m_sources.clock);
    const QStringList lines = readLicenseLines(m_sources.programFolder);
    if (lines.isEmpty()) {
        PCnt->removeTab(PCnt->indexOf(TSLicense));
        delete TSLicense;
        TSLicense = nullptr;
        Memo1 = nullptr;
        return;
    }
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    TSLicense->setEnabled(true);
}

void Tfrm_About::FormShow()
{
    const VersionResource resource =
        m_sources.versionResource ? m_sources.versionResource() : VersionResource{};
    Version->setText(buildText(resource));
    Product->setText(GetVersionString(resource, QString::fromLatin1(kProductNameValue)));
    Company->setText(GetVersionString(resource, QString::fromLatin1(kCompanyNameValue)));
    Copyright->setText(GetVersionString(resource, QString::fromLatin1(kLegalCopyrightValue)));
    Comments->setText(GetVersionString(resource, QString::fromLatin1(kCommentsValue)));
    if (const std::optional<QImage> logo = LoadLogo(m_sources.programFolder))
        setLogo(QPixmap::fromImage(*logo));
    PCnt->setCurrentIndex(0);
}

void Tfrm_About::FormKeyDown(std::uint16_t Key, TShiftState Shift)
{
    m_keys->keyDown(Key, Shift);
}

void Tfrm_About::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_showError.clear();
    try {
        FormShow();
    } catch (const std::exception& e) {
        // The box closes again at once; its opener reports the error.
        m_showError = QString::fromStdString(e.what());
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
}

void Tfrm_About::previewKey(const QKeyEvent* event)
{
    FormKeyDown(keyCodeFromQt(event->key()), shiftStateFromQt(event->modifiers()));
}

void Tfrm_About::keyPressEvent(QKeyEvent* event)
{
    // Keys that reach the box from a focused control were previewed by the filter already.
    if (focusWidget() == nullptr || focusWidget() == this)
        previewKey(event);
    QDialog::keyPressEvent(event);
}

bool Tfrm_About::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == focusWidget())
        previewKey(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

} // namespace vembra
