#pragma once

// Pictures dropped onto the main window. A drop on the base box loads the
// base picture, one on the watermark box the watermark, and one anywhere else
// the base while none is loaded and the watermark after that, each exactly as
// the load command would with that path. Of several files only the first is
// taken; a folder stands for its first picture file by name. A drop that
// holds no local file is refused without a word, and the cursor shows so
// while it is dragged.

#include <functional>
#include <optional>
#include <QObject>
#include <QString>
#include <QStringList>

class QDropEvent;
class QMimeData;
class QWidget;

namespace tessaly {

enum class DropSlot { Base, Watermark };

// The file a drop hands over: the first address that is a local file, or a
// local folder holding a file that matches one of folderPatterns ("*.png"),
// whose first such file by name is taken. Nothing when there is none.
std::optional<QString> droppedFile(const QMimeData& data, const QStringList& folderPatterns);

class PictureDrop : public QObject {
    Q_OBJECT
public:
    struct Targets {
        QWidget* window;       // drops elsewhere than on a box
        QWidget* baseBox;      // Image1
        QWidget* watermarkBox; // Image2
    };
    // Loads a path into a slot as the load command would; it raises on failure.
    using Load = std::function<void(DropSlot, const QString&)>;

    PictureDrop(const Targets& targets, QStringList folderPatterns, std::function<bool()> hasBase,
                Load load);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Takes the copy action, never a move: the dropped file is the user's.
    static bool acceptCopy(QDropEvent* event);
    void drop(QObject* watched, QDropEvent* event);
    DropSlot slotFor(QObject* watched) const;

    Targets targets_;
    QStringList folderPatterns_;
    std::function<bool()> hasBase_;
    Load load_;
    // Whether the drag under way offers a file, found once when it enters.
    bool offersFile_ = false;
};

} // namespace tessaly
