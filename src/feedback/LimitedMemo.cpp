#include "feedback/LimitedMemo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>

namespace tessaly {

namespace {

// The characters a key press adds to the text, as the edit itself decides.
qsizetype addedByKey(const QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste))
        return 0; // comes through insertFromMimeData
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return 1; // a line break
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    const QChar first = text.front();
    return first.isPrint() || first.isSurrogate() || first == u'\t' ? text.size() : 0;
}

// The front of `text` that fits in `room`, never half of a surrogate pair.
QString frontThatFits(const QString& text, qsizetype room) {
    qsizetype size = std::clamp<qsizetype>(room, 0, text.size());
    if (size > 0 && size < text.size() && text[size - 1].isHighSurrogate())
        --size;
    return text.left(size);
}

} // namespace

LimitedMemo::LimitedMemo(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), maxLength_(maxLength) {}

QString LimitedMemo::rawText() const {
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

qsizetype LimitedMemo::room() const {
    const QTextCursor cursor = textCursor();
    const qsizetype length = document()->characterCount() - 1; // the last block's end
    return maxLength_ - length + (cursor.selectionEnd() - cursor.selectionStart());
}

void LimitedMemo::keyPressEvent(QKeyEvent* event) {
    if (addedByKey(event) > room()) {
        event->accept(); // refused: nothing is added, nothing else changes
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedMemo::inputMethodEvent(QInputMethodEvent* event) {
    // The commit string replaces the selection and the given range.
    const qsizetype room = this->room() + event->replacementLength();
    if (event->commitString().size() <= room) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent fitted(event->preeditString(), event->attributes());
    fitted.setCommitString(frontThatFits(event->commitString(), room), event->replacementStart(),
                           event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&fitted);
}

void LimitedMemo::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    // A CR LF pair becomes one line break in the text, so counts as one.
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString fitted = frontThatFits(text, room());
    if (fitted.isEmpty() && !text.isEmpty())
        return; // refused whole: the selection stays
    QMimeData part;
    part.setText(fitted);
    QPlainTextEdit::insertFromMimeData(&part);
}

} // namespace tessaly
