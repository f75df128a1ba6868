#pragma once

// The About window: the program's icon, name and version on a black panel,
// framed by glyphs raining down in columns. The rain lives in MatrixModel
// (the drops) and MatrixImage (the window's persistent canvas); each timer
// tick draws a few cells per drop into the canvas and repaints only those.
// Opened fresh and modally for every showing; it frees itself on close.

#include "about/MatrixImage.h"
#include "about/MatrixModel.h"

#include <cstdint>
#include <QDialog>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace tessaly {

class ClickLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner = nullptr);
    ~TAboutBox() override;

    // Controls, in the order of the window's description.
    QWidget* Panel1 = nullptr;
    QLabel* Image2 = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    ClickLabel* Label5 = nullptr;
    QTimer* tmTimer = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Credits1 = nullptr;
    QAction* Howtouninstall1 = nullptr;
    QAction* LicensePrivacyPolicy1 = nullptr;

    // The program's folder, where "License..." looks for the licence text
    // (beside it, else installed under it, see findLicenseFile): the
    // program's own unless a test points elsewhere.
    QString licenseFolder;

    void tmTimerTimer();
    void BitBtn1Click();
    void BitBtn2Click();
    void Label5Click();
    void Credits1Click();
    void Howtouninstall1Click();
    void LicensePrivacyPolicy1Click();

    void StartMatrix();
    void ResetMatrix();

    int32_t matrixWidth = 0;
    int32_t matrixHeight = 0;
    int32_t charWidth = MatrixImage::CharWidth;
    int32_t charHeight = MatrixImage::CharHeight;
    int32_t bitmapWidth = 0;
    int32_t bitmapHeight = 0;
    bool dragging = false;
    int32_t dx = 0;
    int32_t dy = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void createMenu();
    void createConnections();
    void FormCreate();
    // Drag to move: press, move and release on the window's background.
    bool dragEvent(QWidget* watched, QEvent* event);

    MatrixImage outCanvas;
    UniformRandom random_;
    bool started_ = false;
};

} // namespace tessaly
