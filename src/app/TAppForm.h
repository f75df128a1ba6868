#pragma once

// The main window. The road of the data, one folder of compositing/ a stage:
//   file --(decoding/: the loader picks a decoder by extension; dib/ reads the
//           bitmaps of BMP, ICO and metafiles; metafile/ plays wmf and emf)-->
//   Picture in the base or watermark slot --(picture/: rasterise onto white)-->
//   24-bit work bitmaps --(blend/: AlphaBlendYap tiles the watermark with the
//           track bar's weight and its key colour)--> result slot
//   result slot --(writing/: BitBtn3Click, the BMP writer)--> 24-bit BMP file
//   preview/ scales each slot's picture into its box.
// A file dropped onto the window takes the load command's road from its
// second step (PictureDrop).
// Every command runs on the GUI thread; errors leave the handlers as
// exceptions and are reported by TApplication.

#include "platform/Platform.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimer;
class QWidget;

namespace tessaly {

class BitmapPicture;
class ClickLabel;
class Picture;
class PictureBox;
class TrackBar;

class TAppForm : public QMainWindow {
    Q_OBJECT
public:
    // exePath: the file whose version block names the program (its own
    // executable unless a test says otherwise).
    explicit TAppForm(const QString& exePath = QString(), QWidget* parent = nullptr);
    ~TAppForm() override;

    // Components, in the order of the window's description.
    QTimer* TimerChecker = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    FileDialogState OpenPictureDialog1;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    PictureBox* Image1 = nullptr;
    PictureBox* Image2 = nullptr;
    PictureBox* Image3 = nullptr;
    TrackBar* TrackBar1 = nullptr;
    FileDialogState SavePictureDialog1;
    QWidget* Panel1 = nullptr;
    ClickLabel* Label3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QLabel* Label4 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* LoadImage1 = nullptr;
    QAction* LoadWatermark1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* UpdateNotifications1 = nullptr;
    QAction* UpdateNotificationsBar = nullptr;
    QAction* SendFeedback1 = nullptr;
    QAction* About1 = nullptr;
    QList<QIcon> ImageList1;
    QAction* Help2 = nullptr;
    QAction* N2 = nullptr;

    void FormCreate();
    void TimerCheckerTimer();
    void BitBtn1Click();
    void BitBtn2Click();
    void AlphaBlendYap();
    void TrackBar1Change();
    void BitBtn3Click();
    void Label3Click();
    void BitBtn5Click();
    void BitBtn4Click();
    void SendFeedback1Click();
    void About1Click();
    void LoadImage1Click();
    void LoadWatermark1Click();
    void Exit1Click();
    void UpdateNotifications1Click();
    void Help2Click();

    // The online help address for a product name: lower-case A to Z, blanks
    // to "-", under "/help/".
    static QString helpAddress(const QString& product);

Q_SIGNALS:
    // The result slot was emptied or filled.
    void resultChanged();

public:
    // The picture slots: base, watermark and result.
    const Picture* basePicture() const { return base_.get(); }
    const Picture* watermarkPicture() const { return watermark_.get(); }
    const Picture* resultPicture() const;

private:
    void createControls();
    void createMenu();
    void createDialogs();
    void createConnections();
    void createDropTarget();
    // The load command: the open dialog, then loadFile with the chosen path.
    void loadSlot(std::unique_ptr<Picture>& slot, QLabel* label, PictureBox* box);
    void loadFile(std::unique_ptr<Picture>& slot, QLabel* label, PictureBox* box,
                  const QString& path);
    bool bothLoaded() const;
    void setResult(std::unique_ptr<BitmapPicture> result);

    QString exePath_;
    std::unique_ptr<Picture> base_;
    std::unique_ptr<Picture> watermark_;
    std::unique_ptr<BitmapPicture> result_;
};

} // namespace tessaly
