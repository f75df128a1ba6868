#include "about/TAboutBox.h"

#include "about/LicenseFile.h"
#include "about/PopupBelow.h"
#include "platform/AppIdentity.h"
#include "platform/ClickLabel.h"
#include "platform/Fonts.h"
#include "platform/MakerHost.h"
#include "platform/Platform.h"
#include "resources/Artwork.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace tessaly {

namespace {

constexpr int kClientWidth = 446;
constexpr int kClientHeight = 374;
constexpr int kTimerInterval = 50;

void setColour(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

template <typename W> W* named(W* w, const char* name, QRect geometry) {
    w->setObjectName(QLatin1String(name));
    w->setAccessibleName(QLatin1String(name));
    w->setGeometry(geometry);
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect geometry,
                    const QColor& textColour) {
    auto* b = named(new QPushButton(text, parent), name, geometry);
    b->setFont(tahoma(16));
    setColour(b, QPalette::ButtonText, textColour);
    return b;
}

} // namespace

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner), licenseFolder(QCoreApplication::applicationDirPath()),
      outCanvas([this](const QRect& cell) { update(cell); }) {
    setObjectName(QStringLiteral("AboutBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The canvas covers every pixel, so Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setColour(this, QPalette::Window, Qt::black);
    setFont(tahoma(11));
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
    createMenu();
    createConnections();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::createControls() {
    // An opaque child: the rain is drawn beneath it and never shows through.
    Panel1 = named(new QWidget(this), "Panel1", {48, 42, 350, 291});
    Panel1->setAutoFillBackground(true);
    setColour(Panel1, QPalette::Window, Qt::black);
    setColour(Panel1, QPalette::WindowText, Qt::white);
    Panel1->setFont(tahoma(11));

    Image2 = named(new QLabel(Panel1), "Image2", {3, 3, 344, 105});
    Image2->setPixmap(makerLogo());
    Image2->setScaledContents(true);

    Bevel1 = named(new QFrame(Panel1), "Bevel1", {9, 122, 34, 34});
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Image1 = named(new QLabel(Panel1), "Image1", {10, 123, 32, 32});
    Image1->setAlignment(Qt::AlignCenter);

    Label2 = named(new QLabel(Panel1), "Label2", {49, 122, 290, 40});
    Label2->setFont(tahoma(16));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setTextFormat(Qt::PlainText);

    BitBtn1 = button(Panel1, "BitBtn1", QStringLiteral("OK"), {49, 224, 122, 33}, Qt::black);
    BitBtn2 = button(Panel1, "BitBtn2", QStringLiteral("Info"), {177, 224, 122, 33}, Qt::white);
    // A dark face, so that the white caption reads on it.
    setColour(BitBtn2, QPalette::Button, QColor(48, 48, 48));
    BitBtn2->setIcon(artPixmap(Art::Arrow, 16));
    BitBtn2->setIconSize(QSize(16, 16));
    // Lays the arrow out on the right of the caption.
    BitBtn2->setLayoutDirection(Qt::RightToLeft);

    Label5 = named(new ClickLabel(makerHost(), Panel1), "Label5", {3, 275, 344, 13});
    QFont linkFont(QStringLiteral("MS Sans Serif"));
    linkFont.setPixelSize(11);
    linkFont.setUnderline(true);
    Label5->setFont(linkFont);
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setTextFormat(Qt::PlainText);
    setColour(Label5, QPalette::WindowText, QColor(0, 255, 0));
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->setToolTip(makerPage(QStringLiteral("/")));

    tmTimer = new QTimer(this);
    tmTimer->setObjectName(QStringLiteral("tmTimer"));
    tmTimer->setInterval(kTimerInterval);

    QWidget::setTabOrder(BitBtn1, BitBtn2);
    BitBtn1->setFocus();
}

void TAboutBox::createMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& text) {
        QAction* a = PopupMenu1->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    Credits1 = item("Credits1", QStringLiteral("Credits..."));
    Howtouninstall1 = item("Howtouninstall1", QStringLiteral("How to uninstall..."));
    LicensePrivacyPolicy1 = item("LicensePrivacyPolicy1", QStringLiteral("License..."));
}

void TAboutBox::createConnections() {
    connect(tmTimer, &QTimer::timeout, this, &TAboutBox::tmTimerTimer);
    connect(BitBtn1, &QPushButton::clicked, this, &TAboutBox::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TAboutBox::BitBtn2Click);
    connect(Label5, &ClickLabel::clicked, this, &TAboutBox::Label5Click);
    connect(Credits1, &QAction::triggered, this, &TAboutBox::Credits1Click);
    connect(Howtouninstall1, &QAction::triggered, this, &TAboutBox::Howtouninstall1Click);
    connect(LicensePrivacyPolicy1, &QAction::triggered, this,
            &TAboutBox::LicensePrivacyPolicy1Click);
    for (QWidget* w : {static_cast<QWidget*>(this), Panel1, static_cast<QWidget*>(Image1),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(Image2)})
        w->installEventFilter(this);
}

void TAboutBox::FormCreate() {
    matrixState().symbols = QStringLiteral("qoz");
    // The rain starts when the window is first shown (showEvent): only then is
    // its frame, and so its outer size, known.
    setWindowTitle(QStringLiteral("About ") + AppProduct);
    setWindowIcon(artIcon(Art::AppIcon));
    Image1->setPixmap(artPixmap(Art::AppIcon, 32));
    Label2->setText(AppProduct + QLatin1Char(' ') + AppVersion);
}

void TAboutBox::StartMatrix() {
    matrixState().frameCount = 0;
    started_ = true;
    bitmapWidth = frameGeometry().width();
    bitmapHeight = frameGeometry().height();
    ResetMatrix();
    tmTimer->start(kTimerInterval);
}

// Clears the canvas and seeds anew, keeping the dimensions taken at the start.
void TAboutBox::ResetMatrix() {
    if (!started_)
        return;
    outCanvas.clear(size());
    update();
    charWidth = MatrixImage::CharWidth;
    charHeight = MatrixImage::CharHeight;
    matrixWidth = bitmapWidth / charWidth;
    matrixHeight = bitmapHeight / charHeight;
    SeedDrops(matrixState(), matrixWidth, matrixHeight, random_);
}

void TAboutBox::tmTimerTimer() {
    StepMatrix(matrixState(), matrixHeight, random_, outCanvas);
    outCanvas.endTick();
}

void TAboutBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    painter.drawImage(event->rect(), outCanvas.image(), event->rect());
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_)
        StartMatrix();
}

void TAboutBox::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ResetMatrix();
}

void TAboutBox::BitBtn1Click() {
    accept();
}

void TAboutBox::BitBtn2Click() {
    menuPopper().PopupBelow(*BitBtn2, *PopupMenu1);
}

void TAboutBox::Label5Click() {
    platform().openUrl(makerPage(QStringLiteral("/")));
}

void TAboutBox::Credits1Click() {
    platform().openUrl(makerPage(QStringLiteral("/blog/credits/")));
}

void TAboutBox::Howtouninstall1Click() {
    platform().openUrl(makerPage(QStringLiteral("/blog/how-to-uninstall-quarnel-software/")));
}

void TAboutBox::LicensePrivacyPolicy1Click() {
    const QString path = findLicenseFile(licenseFolder);
    if (!path.isEmpty())
        platform().openTextFile(path);
    else
        platform().messageBox(this, QStringLiteral("File not found!"), QStringLiteral("License"),
                              MessageIcon::Error);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched->isWidgetType() && dragEvent(static_cast<QWidget*>(watched), event))
        return true;
    return QDialog::eventFilter(watched, event);
}

// The watched widgets are the window's background. A press that reaches one
// of them from a child that is not (the link, the buttons, the bevel) starts
// no drag.
bool TAboutBox::dragEvent(QWidget* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint screen = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseButtonRelease) {
        dragging = false;
        return false;
    }
    if (type == QEvent::MouseMove) {
        if (!dragging)
            return false;
        move(pos() + QPoint(screen.x() - dx, screen.y() - dy));
        dx = screen.x();
        dy = screen.y();
        return true;
    }
    if (mouse->button() == Qt::RightButton || watched->childAt(mouse->position().toPoint()))
        return false;
    dragging = true;
    dx = screen.x();
    dy = screen.y();
    return true;
}

} // namespace tessaly
