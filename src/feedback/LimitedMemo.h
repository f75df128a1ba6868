#pragma once

#include <QPlainTextEdit>

namespace tessaly {

// A multi-line edit that takes at most maxLength characters from the user.
// What would go past the limit is refused where it comes in: a key that would
// add a character to a full memo adds nothing, a paste or a drop adds only its
// front that still fits. The text already there is never cut, and undo and the
// cursor work as in any edit. (Text set by the program is not limited.)
class LimitedMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    LimitedMemo(int maxLength, QWidget* parent = nullptr);

    int maxLength() const { return maxLength_; }

    // The text as the user wrote it, every character kept (non-breaking spaces
    // among them), with each line break as CR LF.
    QString rawText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many characters may come in place of the selection.
    qsizetype room() const;

    int maxLength_;
};

} // namespace tessaly
