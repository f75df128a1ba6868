#include "app/TAppForm.h"

#include "about/TAboutBox.h"
#include "about/VersionInfo.h"
#include "app/PictureBox.h"
#include "app/PictureDrop.h"
#include "app/TApplication.h"
#include "app/TrackBar.h"
#include "compositing/picture/BitmapPicture.h"
#include "compositing/writing/BmpWriter.h"
#include "compositing/decoding/PictureLoader.h"
#include "compositing/blend/Composition.h"
#include "feedback/TFeedbackForm.h"
#include "platform/AppIdentity.h"
#include "platform/ClickLabel.h"
#include "platform/Fonts.h"
#include "platform/MakerHost.h"
#include "resources/Artwork.h"
#include "settings/SettingsKey.h"
#include "update/TChecker.h"
#include "update/TNewVer.h"
#include "update/UpdateState.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace tessaly {

namespace {

constexpr int kClientWidth = 580;
constexpr int kClientHeight = 390;

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect geometry,
                    const QIcon& glyph = QIcon()) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setFont(tahoma(16));
    if (!glyph.isNull()) {
        b->setIcon(glyph);
        b->setIconSize(QSize(16, 16));
    }
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAccessibleName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setFont(tahoma(16));
    return l;
}

// A name label is one line as wide as its text, running past the window's
// edge when the text is long.
void fitToText(QLabel* l) {
    l->resize(l->sizeHint().width(), 19);
}

PictureBox* pictureBox(QWidget* parent, const char* name, int left) {
    auto* box = new PictureBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(QLatin1String(name));
    box->setGeometry(left, 120, 177, 177);
    return box;
}

} // namespace

TAppForm::TAppForm(const QString& exePath, QWidget* parent)
    : QMainWindow(parent),
      exePath_(exePath.isEmpty() ? QCoreApplication::applicationFilePath() : exePath) {
    setObjectName(QStringLiteral("AppForm"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(artIcon(Art::AppIcon));
    setFont(tahoma(11));
    createControls();
    createMenu();
    createDialogs();
    createConnections();
    // The client area is fixed; the menu bar sits above it.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    try {
        FormCreate();
    } catch (...) {
        TApplication::handleException();
    }
}

TAppForm::~TAppForm() = default;

void TAppForm::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    TimerChecker = new QTimer(this);
    TimerChecker->setObjectName(QStringLiteral("TimerChecker"));
    TimerChecker->setInterval(1000);

    BitBtn1 = button(client, "BitBtn1", QStringLiteral("Load Image"), {8, 8, 177, 25},
                     artIcon(Art::Open));
    BitBtn2 = button(client, "BitBtn2", QStringLiteral("Load Watermark"), {8, 39, 177, 25},
                     artIcon(Art::Open));
    Label1 = label(client, "Label1", QStringLiteral("[None]"), {200, 13, 0, 19});
    Label2 = label(client, "Label2", QStringLiteral("[None]"), {200, 44, 0, 19});
    fitToText(Label1);
    fitToText(Label2);
    Label4 = label(client, "Label4", QStringLiteral("Transparency:"), {84, 70, 101, 19});

    TrackBar1 = new TrackBar(client);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setAccessibleName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(194, 69, 375, 45);
    TrackBar1->setRange(0, 250);
    TrackBar1->setValue(125);
    TrackBar1->setSingleStep(5);
    TrackBar1->setPageStep(2);
    TrackBar1->setTickInterval(10);
    TrackBar1->setTickPosition(QSlider::TicksBelow);

    Image1 = pictureBox(client, "Image1", 8);
    Image2 = pictureBox(client, "Image2", 200);
    Image3 = pictureBox(client, "Image3", 392);

    BitBtn3 = button(client, "BitBtn3", QStringLiteral("Save to File..."), {392, 303, 177, 37});
    BitBtn3->hide();

    Panel1 = new QWidget(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 345, 580, 45);
    BitBtn5 = button(Panel1, "BitBtn5", QStringLiteral("Send Feedback..."), {3, 3, 180, 39},
                     artIcon(Art::Feedback));
    BitBtn4 = button(Panel1, "BitBtn4", QStringLiteral("About..."), {189, 3, 180, 39},
                     artIcon(Art::About));
    Label3 = new ClickLabel(makerHost(), Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAccessibleName(QStringLiteral("Label3"));
    Label3->setGeometry(372, 0, 208, 45);
    Label3->setAlignment(Qt::AlignCenter);
    QFont linkFont = tahoma(19);
    linkFont.setUnderline(true);
    Label3->setFont(linkFont);
    Label3->setStyleSheet(QStringLiteral("color: blue;"));
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->setTextFormat(Qt::PlainText);

    QWidget::setTabOrder(BitBtn1, BitBtn2);
    QWidget::setTabOrder(BitBtn2, TrackBar1);
    QWidget::setTabOrder(TrackBar1, BitBtn3);
    QWidget::setTabOrder(BitBtn3, BitBtn5);
    QWidget::setTabOrder(BitBtn5, BitBtn4);
}

void TAppForm::createMenu() {
    // ImageList1: 0 exit, 1 feedback, 2 about, 3 unused, 4 open, 5 help.
    ImageList1 = {artIcon(Art::Exit), artIcon(Art::Feedback), artIcon(Art::About),
                  QIcon(),            artIcon(Art::Open),     artIcon(Art::Help)};
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto item = [this](QMenu* menu, const char* name, const QString& text, int picture) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (picture >= 0)
            a->setIcon(ImageList1[picture]);
        return a;
    };
    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    LoadImage1 = item(File1, "LoadImage1", QStringLiteral("Load Image..."), 4);
    LoadWatermark1 = item(File1, "LoadWatermark1", QStringLiteral("Load Watermark..."), 4);
    N1 = File1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Exit1 = item(File1, "Exit1", QStringLiteral("Exit"), 0);

    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Help2 = item(Help1, "Help2", QStringLiteral("Online Help"), 5);
    Help2->setShortcut(QKeySequence(Qt::Key_F1));
    Help2->setShortcutContext(Qt::WindowShortcut);
    N2 = Help1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    UpdateNotifications1 = item(Help1, "UpdateNotifications1",
                                QStringLiteral("Update Notifications"), -1);
    UpdateNotifications1->setCheckable(true);
    UpdateNotifications1->setChecked(true);
    UpdateNotifications1->setEnabled(false);
    UpdateNotificationsBar = Help1->addSeparator();
    UpdateNotificationsBar->setObjectName(QStringLiteral("UpdateNotificationsBar"));
    SendFeedback1 = item(Help1, "SendFeedback1", QStringLiteral("Send Feedback"), 1);
    About1 = item(Help1, "About1", QStringLiteral("About"), 2);
    // The shortcut works anywhere in the window, menu open or not.
    addAction(Help2);
}

void TAppForm::createConnections() {
    connect(TimerChecker, &QTimer::timeout, this, &TAppForm::TimerCheckerTimer);
    connect(BitBtn1, &QPushButton::clicked, this, &TAppForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TAppForm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TAppForm::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TAppForm::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TAppForm::BitBtn5Click);
    connect(TrackBar1, &TrackBar::change, this, &TAppForm::TrackBar1Change);
    connect(Label3, &ClickLabel::clicked, this, &TAppForm::Label3Click);
    connect(LoadImage1, &QAction::triggered, this, &TAppForm::LoadImage1Click);
    connect(LoadWatermark1, &QAction::triggered, this, &TAppForm::LoadWatermark1Click);
    connect(Exit1, &QAction::triggered, this, &TAppForm::Exit1Click);
    connect(Help2, &QAction::triggered, this, &TAppForm::Help2Click);
    connect(UpdateNotifications1, &QAction::triggered, this,
            &TAppForm::UpdateNotifications1Click);
    connect(SendFeedback1, &QAction::triggered, this, &TAppForm::SendFeedback1Click);
    connect(About1, &QAction::triggered, this, &TAppForm::About1Click);
    createDropTarget();
    TimerChecker->start();
}

void TAppForm::createDropTarget() {
    // A dropped folder offers what the open dialog's first filter shows.
    const QStringList pictures = OpenPictureDialog1.filters.front().pattern.split(QLatin1Char(';'));
    const auto hasBase = [this] { return base_ != nullptr; };
    const auto load = [this](DropSlot slot, const QString& path) {
        if (slot == DropSlot::Base)
            loadFile(base_, Label1, Image1, path);
        else
            loadFile(watermark_, Label2, Image2, path);
    };
    new PictureDrop({this, Image1, Image2}, pictures, hasBase, load);
}

void TAppForm::FormCreate() {
    TEXEVersionData data;
    GetEXEVersionData(exePath_, data);
    AppProduct = data.ProductName;
    const QString company = data.CompanyName;
    AppVersion = formatVersionNumber(GetFileVersionNumber(exePath_));
    AppName = company + QStringLiteral(" - ") + AppProduct;
    setWindowTitle(AppName);
}

QString TAppForm::helpAddress(const QString& product) {
    QString name;
    for (QChar c : product) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
        else if (c == QLatin1Char(' '))
            c = QLatin1Char('-');
        name += c;
    }
    return makerPage(QStringLiteral("/help/") + name + QLatin1Char('/'));
}

void TAppForm::Help2Click() {
    platform().openUrl(helpAddress(AppProduct));
}

void TAppForm::Label3Click() {
    platform().openUrl(makerPage(QStringLiteral("/")));
}

void TAppForm::Exit1Click() {
    QCoreApplication::exit(0);
}

void TAppForm::LoadImage1Click() {
    BitBtn1->click();
}

void TAppForm::LoadWatermark1Click() {
    BitBtn2->click();
}

void TAppForm::BitBtn4Click() {
    // A fresh window for each opening; it frees itself when it closes.
    auto* box = new TAboutBox(this);
    box->exec();
}

void TAppForm::SendFeedback1Click() {
    BitBtn5Click();
}

void TAppForm::About1Click() {
    BitBtn4Click();
}

void TAppForm::createDialogs() {
    const std::vector<FileFilter> kinds = {
        {QStringLiteral("Portable Network Graphics (*.png)"), QStringLiteral("*.png")},
        {QStringLiteral("GIF Image (*.gif)"), QStringLiteral("*.gif")},
        {QStringLiteral("JPEG Image File (*.jpg)"), QStringLiteral("*.jpg")},
        {QStringLiteral("JPEG Image File (*.jpeg)"), QStringLiteral("*.jpeg")},
        {QStringLiteral("Bitmaps (*.bmp)"), QStringLiteral("*.bmp")},
        {QStringLiteral("Icons (*.ico)"), QStringLiteral("*.ico")},
        {QStringLiteral("Enhanced Metafiles (*.emf)"), QStringLiteral("*.emf")},
        {QStringLiteral("Metafiles (*.wmf)"), QStringLiteral("*.wmf")},
        {QStringLiteral("TIFF Images (*.tif)"), QStringLiteral("*.tif")},
        {QStringLiteral("TIFF Images (*.tiff)"), QStringLiteral("*.tiff")},
    };
    const QString all = QStringLiteral("*.gif;*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.tif;*.tiff");
    OpenPictureDialog1.filters = {{QStringLiteral("All (") + all + QLatin1Char(')'), all}};
    OpenPictureDialog1.filters.insert(OpenPictureDialog1.filters.end(), kinds.begin(), kinds.end());
    OpenPictureDialog1.defaultSuffix = QStringLiteral("png");
    SavePictureDialog1.filters = kinds;
    SavePictureDialog1.defaultSuffix = QStringLiteral("png");
    SavePictureDialog1.confirmOverwrite = false;
}

const Picture* TAppForm::resultPicture() const {
    return result_.get();
}

bool TAppForm::bothLoaded() const {
    const QString none = QStringLiteral("[None]");
    return Label1->text() != none && Label2->text() != none;
}

void TAppForm::loadSlot(std::unique_ptr<Picture>& slot, QLabel* label, PictureBox* box) {
    if (const std::optional<QString> path = platform().openFileName(this, OpenPictureDialog1))
        loadFile(slot, label, box, *path);
}

void TAppForm::loadFile(std::unique_ptr<Picture>& slot, QLabel* label, PictureBox* box,
                        const QString& path) {
    // A failed load raises here and leaves the slot, its label and the result alone.
    std::unique_ptr<Picture> picture = loadPicture(path);
    box->setPicture(picture.get());
    slot = std::move(picture);
    label->setText(path);
    label->setToolTip(path);
    fitToText(label);
    if (bothLoaded())
        AlphaBlendYap();
}

void TAppForm::BitBtn1Click() {
    loadSlot(base_, Label1, Image1);
}

void TAppForm::BitBtn2Click() {
    loadSlot(watermark_, Label2, Image2);
}

void TAppForm::setResult(std::unique_ptr<BitmapPicture> result) {
    Image3->setPicture(result.get());
    result_ = std::move(result);
    Q_EMIT resultChanged();
}

void TAppForm::AlphaBlendYap() {
    setResult(nullptr);
    // The work bitmaps live only inside composeResult and are released on
    // every way out; the base's becomes the result.
    try {
        setResult(std::make_unique<BitmapPicture>(
            composeResult(*base_, *watermark_, TrackBar1->value())));
    } catch (const WatermarkTooLarge& refusal) {
        platform().messageBox(QApplication::activeWindow(), refusal.message(),
                              QStringLiteral("Warning"), MessageIcon::Warning);
        return;
    }
    BitBtn3->show();
}

void TAppForm::TrackBar1Change() {
    if (bothLoaded())
        AlphaBlendYap();
}

void TAppForm::BitBtn3Click() {
    const std::optional<QString> path = platform().saveFileName(this, SavePictureDialog1);
    if (!path || !result_)
        return;
    saveBmp(result_->bitmap(), *path);
}

void TAppForm::BitBtn5Click() {
    // A fresh window for each opening, owned by the application; it frees
    // itself when it closes.
    auto* feedback = new TFeedbackForm();
    feedback->exec();
}

void TAppForm::TimerCheckerTimer() {
    if (CheckerStarted == 0) {
        CheckerStarted = 1;
        TChecker::launch();
        return;
    }
    if (!CheckDone.load(std::memory_order_acquire))
        return;
    TimerChecker->stop();
    UpdateNotifications1->setEnabled(true);
    if (ShowUpdateSetting == 0)
        UpdateNotifications1->setChecked(false);
    if (ShowNewVersion)
        new TNewVer(this); // shows itself on its first tick, frees itself when closed
}

void TAppForm::UpdateNotifications1Click() {
    // The item has already toggled its check mark; the stored switch follows it.
    if (SettingsKey* key = settingsKey())
        key->writeInteger(QStringLiteral("Settings"), QStringLiteral("ShowUpdate"),
                          UpdateNotifications1->isChecked() ? 1 : 0);
}

} // namespace tessaly
