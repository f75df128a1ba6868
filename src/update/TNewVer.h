#pragma once

#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace tessaly {

class ClickLabel;

// The update popup: a small borderless window in the top-right corner of the
// primary screen that announces the offered version, opens the download page
// from its link and closes itself after about eleven seconds.
class TNewVer : public QWidget {
    Q_OBJECT
public:
    // mainWindow gets the keyboard focus back once the popup is shown.
    explicit TNewVer(QWidget* mainWindow);

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label1 = nullptr;
    ClickLabel* Label2 = nullptr;
    QFrame* Panel3 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer* TimerStart = nullptr;
    QTimer* TimerClose = nullptr;
    QTimer* TimerLink = nullptr;

    bool dragging = false;
    int dx = 0;
    int dy = 0;

    void FormCreate();
    void TimerStartTimer();
    void TimerCloseTimer();
    void TimerLinkTimer();
    void Label2Click();
    void Button1Click();

    // How often the window was animated in and out, for the curious.
    int growAnimations() const { return grows_; }
    int shrinkAnimations() const { return shrinks_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createConnections();
    void animate(bool grow);

    QPointer<QWidget> mainWindow_;
    int grows_ = 0;
    int shrinks_ = 0;
};

// The address the popup's link opens: the download page when it is a web
// address, the maker's home page otherwise.
QString downloadAddress(const QString& url);

} // namespace tessaly
