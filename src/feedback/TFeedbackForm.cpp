#include "feedback/TFeedbackForm.h"

#include "feedback/FeedbackRequest.h"
#include "feedback/IsValidEmail.h"
#include "feedback/LimitedMemo.h"
#include "feedback/OpinionPanel.h"
#include "net/SecurePost.h"
#include "platform/AppIdentity.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "resources/Artwork.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace tessaly {

QPointer<TFeedbackForm> TFeedbackForm::FeedbackForm;

namespace {

constexpr int kWidth = 525;
constexpr int kHeight = 326;
constexpr int kMemoLimit = 10000;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry, int px,
              bool bold = false) {
    auto* l = named(new QLabel(text, parent), name);
    l->setGeometry(geometry);
    l->setFont(tahoma(px, bold));
    return l;
}

} // namespace

TFeedbackForm::TFeedbackForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FeedbackForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(tahoma(11));
    setFixedSize(kWidth, kHeight);
    createControls();
    createConnections();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
    FeedbackForm = this;
}

void TFeedbackForm::createControls() {
    Panel3 = named(new QWidget(this), "Panel3");
    Panel3->setGeometry(0, 0, kWidth, 46);
    Panel4 = named(new OpinionPanel(QStringLiteral("I like it!"), artPixmap(Art::Smile, 32), Panel3),
                   "Panel4");
    Panel4->setGeometry(3, 3, 257, 40);
    Panel5 = named(
        new OpinionPanel(QStringLiteral("I dislike it!"), artPixmap(Art::Frown, 32), Panel3),
        "Panel5");
    Panel5->setGeometry(kWidth - 3 - 256, 3, 256, 40);
    Image1 = named(Panel4->image(), "Image1");
    Image2 = named(Panel5->image(), "Image2");

    Label1 = label(this, "Label1", QStringLiteral("We would really appreciate your feedback."),
                   {3, 49, kWidth - 6, 20}, 16);
    Label2 = label(this, "Label2", QStringLiteral("What did you like or dislike?"),
                   {3, 72, kWidth - 6, 17}, 13, true);

    Memo1 = named(new LimitedMemo(kMemoLimit, this), "Memo1");
    Memo1->setGeometry(3, 92, kWidth - 6, 161);
    Memo1->setFont(tahoma(13));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);

    Panel1 = named(new QWidget(this), "Panel1");
    Panel1->setGeometry(0, 256, kWidth, 30);
    Label3 = label(Panel1, "Label3", QStringLiteral("Include my e-mail:"), {3, 0, 120, 30}, 13);
    Label3->setAlignment(Qt::AlignCenter);
    Edit1 = named(new QLineEdit(Panel1), "Edit1");
    Edit1->setGeometry(126, 3, kWidth - 129, 24);
    Edit1->setFont(tahoma(13));
    Edit1->setMaxLength(100);

    Panel2 = named(new QWidget(this), "Panel2");
    Panel2->setGeometry(0, kHeight - 40, kWidth, 40);
    BitBtn1 = named(new QPushButton(QStringLiteral("Send"), Panel2), "BitBtn1");
    BitBtn1->setGeometry(kWidth - 3 - 180, 3, 180, 34);
    BitBtn1->setFont(tahoma(13, true));
    BitBtn1->setIcon(artIcon(Art::Feedback));
    BitBtn1->setIconSize(QSize(16, 16));
    BitBtn1->setDefault(true);

    setTabOrder(Memo1, Edit1);
    setTabOrder(Edit1, BitBtn1);
    Memo1->setFocus();
}

void TFeedbackForm::createConnections() {
    connect(Panel4, &OpinionPanel::clicked, this, &TFeedbackForm::Image1Click);
    connect(Panel5, &OpinionPanel::clicked, this, &TFeedbackForm::Image2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFeedbackForm::BitBtn1Click);
}

void TFeedbackForm::FormCreate() {
    setWindowTitle(AppProduct + QStringLiteral(" feedback"));
}

void TFeedbackForm::Image1Click() {
    if (!Panel4->isSelected())
        Panel4->select();
    if (Panel5->isSelected())
        Panel5->deselect();
}

void TFeedbackForm::Image2Click() {
    if (!Panel5->isSelected())
        Panel5->select();
    if (Panel4->isSelected())
        Panel4->deselect();
}

void TFeedbackForm::BitBtn1Click() {
    if (sending_)
        return;
    const Opinion opinion = Panel4->isSelected()   ? Opinion::Like
                            : Panel5->isSelected() ? Opinion::Dislike
                                                   : Opinion::None;
    const QString feedback = feedbackText(opinion, Memo1->rawText());
    if (feedback.isEmpty()) {
        platform().beep();
        return;
    }
    const QString email = trimControl(Edit1->text());
    if (!email.isEmpty() && !IsValidEmail(email)) {
        platform().messageBox(this, QStringLiteral("Invalid e-mail address!"),
                              QStringLiteral("Failure"), MessageIcon::Error);
        return;
    }
    send(feedback, email);
}

void TFeedbackForm::send(const QString& feedback, const QString& email) {
    // The post runs here on the GUI thread, bounded by its time-outs; Send
    // takes no second press meanwhile.
    sending_ = true;
    bool delivered = false;
    try {
        delivered =
            isDelivered(SecurePost(feedbackEndpoint(), feedbackFields(feedback, email), timeoutMs));
    } catch (const std::exception&) {
        delivered = false;
    }
    sending_ = false;
    if (delivered) {
        platform().messageBox(this, QStringLiteral("Your feedback is received.\r\rThank you!"),
                              QStringLiteral("Success"), MessageIcon::Information);
        close();
    } else {
        platform().messageBox(
            this,
            QStringLiteral("Something went wrong. Your feedback could not be delivered.\r\r"
                           "Please try again later."),
            QStringLiteral("Failure"), MessageIcon::Error);
    }
}

} // namespace tessaly
