#include "feedback/FeedbackRequest.h"

#include "net/ReplyLines.h"
#include "net/RequestFields.h"
#include "platform/MakerHost.h"
#include "platform/Text.h"

namespace tessaly {

QString feedbackText(Opinion opinion, const QString& memo) {
    QString text;
    if (opinion == Opinion::Like)
        text = QStringLiteral("I like it!\r");
    else if (opinion == Opinion::Dislike)
        text = QStringLiteral("I dislike it!\r");
    return text + trimControl(memo);
}

QStringList feedbackFields(const QString& feedback, const QString& email) {
    QStringList fields = commonFields(QStringLiteral("feedback"));
    fields << QStringLiteral("feedback=") + feedback;
    if (!email.isEmpty())
        fields << QStringLiteral("email=") + email;
    return fields;
}

bool isDelivered(const QString& reply) {
    return trimControl(replyLines(reply).join(QStringLiteral("\r\n"))) == QLatin1String("OK");
}

QString feedbackEndpoint() {
    return makerHost() + QStringLiteral("/php/feedback.php");
}

} // namespace tessaly
