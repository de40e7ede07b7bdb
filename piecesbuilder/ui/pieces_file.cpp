#include "ui/pieces_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace piecesbuilder {

namespace {

QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes all of data to fd, going on after a partial write.
bool WriteAll(int fd, const QByteArray& data) {
    const char* at = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        at += n;
        left -= n;
    }
    return true;
}

}  // namespace

QString PiecesFileName(const QString& chosen) {
    return QFileInfo(chosen).suffix().isEmpty() ? chosen + ".bmp" : chosen;
}

QString WritePiecesFile(const QImage& set, const QString& path) {
    if (set.isNull()) {
        return "There is no set to save.";
    }
    const bool png = QFileInfo(path).suffix().compare("png", Qt::CaseInsensitive) == 0;
    QByteArray data;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        if (!set.save(&buffer, png ? "PNG" : "BMP")) {
            return "The picture could not be encoded.";
        }
    }
    const QFileInfo target(path);
    if (target.isDir()) {
        return "A folder has that name.";
    }
    QByteArray temp = QFile::encodeName(target.absolutePath() + "/.quillet-XXXXXX");
    // mkstemp creates the file with O_CREAT | O_EXCL: never an existing file, never a link.
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return Reason(errno);
    }
    // A pieces file is for other programs to read; the umask still has its say.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, data) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    // rename() replaces whatever directory entry has the target's name, a link included,
    // without following it.
    if (ok && ::rename(temp.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return Reason(error != 0 ? error : EIO);
    }
    return {};
}

}  // namespace piecesbuilder
