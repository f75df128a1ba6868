#include "stamp/ProgressLine.h"

#include <cmath>

namespace tessaly {

namespace {

QString duration(double seconds) {
    const auto s = static_cast<long long>(std::ceil(seconds));
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString progressText(std::size_t done, std::size_t total, double seconds) {
    QString text = QStringLiteral("%1/%2").arg(done).arg(total);
    if (done == 0 || seconds <= 0)
        return text;
    const double rate = double(done) / seconds;
    text += QStringLiteral("  %1 pictures/s").arg(rate, 0, 'f', 1);
    if (done < total)
        text += QStringLiteral("  %1 left").arg(duration(double(total - done) / rate));
    return text;
}

ProgressLine::ProgressLine(std::size_t total, bool enabled, std::FILE* out)
    : total_(total), enabled_(enabled), out_(out) {
    update(0);
}

void ProgressLine::update(std::size_t done) {
    if (!enabled_)
        return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    last_ = progressText(done, total_, seconds);
    std::fprintf(out_, "\r%s\033[K", last_.toLocal8Bit().constData());
    std::fflush(out_);
    shown_ = true;
}

void ProgressLine::clear() {
    if (!shown_)
        return;
    std::fputs("\r\033[K", out_);
    shown_ = false;
}

void ProgressLine::finish() {
    if (shown_)
        std::fputc('\n', out_);
    shown_ = false;
}

} // namespace tessaly
