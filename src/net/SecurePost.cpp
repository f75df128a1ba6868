#include "net/SecurePost.h"

#include "net/CurlCall.h"
#include "net/PostForm.h"

#include <exception>

namespace tessaly {

QString SecurePost(const QString& endpoint, const QStringList& fields, int timeoutMs) {
    try {
        return PostForm(QStringLiteral("https://") + endpoint, fields, timeoutMs);
    } catch (const ReplyTooLarge&) {
        throw; // an answer, if an unusable one: never a cause to go unencrypted
    } catch (const std::exception&) {
        return PostForm(QStringLiteral("http://") + endpoint, fields, timeoutMs);
    }
}

} // namespace tessaly
