#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

enum class Opinion { None, Like, Dislike };

// The feedback text: the chosen opinion's caption and a carriage return,
// then the memo without leading and trailing blanks and control characters.
QString feedbackText(Opinion opinion, const QString& memo);

// The request fields in their order; the "email=" line only with an address.
QStringList feedbackFields(const QString& feedback, const QString& email);

// Delivered when the reply, cut into lines, joined again and trimmed, is
// exactly "OK".
bool isDelivered(const QString& reply);

// The feedback endpoint on the maker's host (no scheme).
QString feedbackEndpoint();

} // namespace tessaly
