#include "update/TNewVer.h"

#include "platform/AppIdentity.h"
#include "platform/ClickLabel.h"
#include "platform/Fonts.h"
#include "platform/MakerHost.h"
#include "platform/Platform.h"
#include "resources/Artwork.h"
#include "update/UpdateState.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTimer>

namespace tessaly {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 68;
constexpr int kAnimationMs = 100;

// A panel that keeps mouse presses to itself, so that presses on it never
// reach a parent that starts a drag.
class QuietPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
};

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    return widget;
}

QTimer* timer(QObject* parent, const char* name, int interval) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    return t;
}

} // namespace

QString downloadAddress(const QString& url) {
    // The reply may have come over plain HTTP: only web addresses are opened.
    if (url.startsWith(QLatin1String("http://")) || url.startsWith(QLatin1String("https://")))
        return url;
    return makerPage(QStringLiteral("/"));
}

TNewVer::TNewVer(QWidget* mainWindow) : QWidget(nullptr), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("NewVer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(tahoma(11));
    setCursor(Qt::ArrowCursor);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    setFixedSize(kWidth, kHeight);
    createControls();
    createConnections();
    FormCreate();
}

void TNewVer::createControls() {
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setGeometry(0, 0, kWidth, kHeight);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);

    Image1 = named(new QLabel(Panel1), "Image1");
    Image1->setGeometry(4, 4, 60, 60);
    Image1->setAlignment(Qt::AlignCenter);

    Panel3 = named(new QFrame(Panel1), "Panel3");
    Panel3->setGeometry(kWidth - 1 - 22, 1, 22, kHeight - 2);
    Button1 = named(new QPushButton(Panel3), "Button1");
    Button1->setGeometry(0, 0, 22, 22);
    Button1->setIcon(QIcon(artPixmap(Art::Close, 32)));
    Button1->setIconSize(QSize(16, 16));
    Button1->setCursor(Qt::PointingHandCursor);
    Button1->setFocusPolicy(Qt::NoFocus);

    Panel2 = named(new QuietPanel(Panel1), "Panel2");
    Panel2->setGeometry(67, 1, 230, kHeight - 2);
    Label1 = named(new QLabel(Panel2), "Label1");
    Label1->setGeometry(3, 3, 224, 17);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(tahoma(13, true));
    Label2 = named(new ClickLabel(Panel2), "Label2");
    Label2->setGeometry(0, kHeight - 2 - 44, 230, 44);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->setTextFormat(Qt::PlainText);
    QFont link = tahoma(13);
    link.setUnderline(true);
    Label2->setFont(link);
    Label2->setCursor(Qt::PointingHandCursor);

    TimerStart = timer(this, "TimerStart", 1);
    TimerClose = timer(this, "TimerClose", 1000);
    TimerLink = timer(this, "TimerLink", 100);
}

void TNewVer::createConnections() {
    connect(TimerStart, &QTimer::timeout, this, &TNewVer::TimerStartTimer);
    connect(TimerClose, &QTimer::timeout, this, &TNewVer::TimerCloseTimer);
    connect(TimerLink, &QTimer::timeout, this, &TNewVer::TimerLinkTimer);
    connect(Label2, &ClickLabel::clicked, this, &TNewVer::Label2Click);
    connect(Button1, &QPushButton::clicked, this, &TNewVer::Button1Click);
    // Drag-to-move starts on these and on nothing else.
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(Panel1),
                       static_cast<QWidget*>(Image1), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(Panel3)})
        w->installEventFilter(this);
    TimerStart->start();
    TimerClose->start();
    TimerLink->start();
}

void TNewVer::FormCreate() {
    Image1->setPixmap(artPixmap(Art::AppIcon, 32));
    move(platform().primaryScreenSize().width() - kWidth - 5, 5);
    Label1->setText(QStringLiteral("UPDATE AVAILABLE"));
    Label2->setText(QStringLiteral("Click to download ") + AppProduct + QLatin1Char(' ') +
                    LatestVersion);
}

void TNewVer::animate(bool grow) {
    // Grows out of the window's centre, or shrinks into it.
    const QRect full = geometry();
    const QRect centre(full.center(), QSize(1, 1));
    QPropertyAnimation animation(this, "geometry");
    animation.setDuration(kAnimationMs);
    animation.setStartValue(grow ? centre : full);
    animation.setEndValue(grow ? full : centre);
    QEventLoop loop;
    connect(&animation, &QPropertyAnimation::finished, &loop, &QEventLoop::quit);
    setMinimumSize(1, 1);
    animation.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    setGeometry(full);
    setFixedSize(kWidth, kHeight);
    ++(grow ? grows_ : shrinks_);
}

void TNewVer::TimerStartTimer() {
    TimerStart->stop();
    show();
    animate(true);
    raise();
    try {
        if (mainWindow_)
            mainWindow_->activateWindow();
    } catch (...) {
        // The main window may not take the focus; the popup shows all the same.
    }
}

void TNewVer::TimerCloseTimer() {
    --CloseCountdown;
    if (CloseCountdown != 0)
        return;
    TimerClose->stop();
    animate(false);
    hide();
    close();
}

void TNewVer::TimerLinkTimer() {
    const QPoint p = Label2->mapFromGlobal(QCursor::pos());
    const QPalette system = QApplication::palette();
    const QColor colour = Label2->rect().contains(p) ? system.color(QPalette::Highlight)
                                                     : system.color(QPalette::WindowText);
    QPalette palette = Label2->palette();
    palette.setColor(QPalette::WindowText, colour);
    Label2->setPalette(palette);
}

void TNewVer::Label2Click() {
    try {
        platform().openUrl(downloadAddress(DownloadURL));
    } catch (...) {
        // Nothing to tell the user: the popup closes as usual.
    }
    close();
}

void TNewVer::Button1Click() {
    close();
}

bool TNewVer::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::RightButton)
            return false;
        dragging = true;
        const QPoint p = widget->mapToGlobal(e->position().toPoint());
        dx = p.x();
        dy = p.y();
        return true;
    }
    case QEvent::MouseMove: {
        if (!dragging)
            return false;
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = widget->mapToGlobal(e->position().toPoint());
        move(x() + p.x() - dx, y() + p.y() - dy);
        dx = p.x();
        dy = p.y();
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragging = false;
        return false;
    default: return false;
    }
}

} // namespace tessaly
