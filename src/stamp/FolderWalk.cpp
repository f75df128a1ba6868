#include "stamp/FolderWalk.h"

#include "compositing/decoding/PictureLoader.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <optional>
#include <QFile>
#include <set>
#include <sys/stat.h>

namespace tessaly {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

class Walk {
public:
    Walk(const WalkRules& rules, WalkReport& report) : rules_(rules), report_(report) {
        struct stat st;
        if (!rules.leaveOut.isEmpty() &&
            stat(QFile::encodeName(rules.leaveOut).constData(), &st) == 0)
            leaveOut_ = FolderId{st.st_dev, st.st_ino};
    }

    void folder(const QString& path, const QString& subfolder, const struct stat& st) {
        if (!walked_.insert({st.st_dev, st.st_ino}).second)
            return;
        std::vector<QByteArray> names;
        if (!readNames(path, names))
            return;
        for (const QByteArray& name : names)
            entry(path, subfolder, QFile::decodeName(name));
    }

private:
    bool readNames(const QString& path, std::vector<QByteArray>& names) {
        DIR* dir = opendir(QFile::encodeName(path).constData());
        if (!dir) {
            problem(path, errno);
            return false;
        }
        errno = 0;
        while (const dirent* e = readdir(dir)) {
            const QByteArray name(e->d_name);
            if (name != "." && name != "..")
                names.push_back(name);
        }
        const int err = errno;
        closedir(dir);
        if (err != 0) {
            problem(path, err);
            return false;
        }
        std::sort(names.begin(), names.end());
        return true;
    }

    void entry(const QString& folder, const QString& subfolder, const QString& name) {
        const QString path =
            folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
        const QByteArray native = QFile::encodeName(path);
        struct stat st;
        if (lstat(native.constData(), &st) != 0)
            return; // gone since the folder was read
        const bool link = S_ISLNK(st.st_mode);
        if (link && stat(native.constData(), &st) != 0)
            return; // a link to nothing
        if (S_ISDIR(st.st_mode)) {
            if ((!link || rules_.followLinks) && leaveOut_ != FolderId{st.st_dev, st.st_ino})
                this->folder(path, subfolder.isEmpty() ? name : subfolder + QLatin1Char('/') + name,
                             st);
        } else if (S_ISREG(st.st_mode) && readsPictureExtension(pictureExtension(name))) {
            report_.pictures.push_back({path, subfolder});
        }
    }

    void problem(const QString& path, int err) {
        report_.problems << path + QStringLiteral(": ") +
                                format("Cannot open folder \"%s\". %s",
                                       {path, systemErrorText(errorFromErrno(err))});
    }

    const WalkRules& rules_;
    WalkReport& report_;
    std::set<FolderId> walked_;
    std::optional<FolderId> leaveOut_; // inside the walk; the walked folder itself is walked
};

} // namespace

void walkFolder(const QString& folder, const WalkRules& rules, WalkReport& report) {
    QString root = folder;
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    struct stat st;
    if (stat(QFile::encodeName(root).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return;
    Walk(rules, report).folder(root, {}, st);
}

} // namespace tessaly
