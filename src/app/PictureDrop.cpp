#include "app/PictureDrop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace tessaly {

namespace {

std::optional<QString> firstMatchIn(const QString& folder, const QStringList& patterns) {
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(patterns, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    if (names.isEmpty())
        return std::nullopt;
    return dir.filePath(names.first());
}

} // namespace

std::optional<QString> droppedFile(const QMimeData& data, const QStringList& folderPatterns) {
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isFile())
            return info.filePath();
        if (info.isDir())
            if (std::optional<QString> file = firstMatchIn(info.filePath(), folderPatterns))
                return file;
    }
    return std::nullopt;
}

PictureDrop::PictureDrop(const Targets& targets, QStringList folderPatterns,
                         std::function<bool()> hasBase, Load load)
    : QObject(targets.window), targets_(targets), folderPatterns_(std::move(folderPatterns)),
      hasBase_(std::move(hasBase)), load_(std::move(load)) {
    for (QWidget* w : {targets_.window, targets_.baseBox, targets_.watermarkBox}) {
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }
}

bool PictureDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        offersFile_ = enter->mimeData() && droppedFile(*enter->mimeData(), folderPatterns_);
        if (!offersFile_ || !acceptCopy(enter))
            enter->ignore();
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        if (!offersFile_ || !acceptCopy(move))
            move->ignore();
        return true;
    }
    case QEvent::Drop:
        drop(watched, static_cast<QDropEvent*>(event));
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool PictureDrop::acceptCopy(QDropEvent* event) {
    if (!(event->possibleActions() & Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void PictureDrop::drop(QObject* watched, QDropEvent* event) {
    const std::optional<QString> path =
        event->mimeData() ? droppedFile(*event->mimeData(), folderPatterns_) : std::nullopt;
    if (!path || !acceptCopy(event)) {
        event->ignore();
        return;
    }
    // The target is chosen now, the picture read once the drag source has its
    // answer: a slow file or an error box must not hold up the drag. Errors
    // leave the load as they leave the load command, to the application's
    // report.
    const DropSlot slot = slotFor(watched);
    QTimer::singleShot(0, this, [this, slot, file = *path] { load_(slot, file); });
}

DropSlot PictureDrop::slotFor(QObject* watched) const {
    if (watched == targets_.baseBox)
        return DropSlot::Base;
    if (watched == targets_.watermarkBox)
        return DropSlot::Watermark;
    return hasBase_() ? DropSlot::Watermark : DropSlot::Base;
}

} // namespace tessaly
