#include "helpers/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr qint64 bufferSize = 64 * 1024;

std::array<int, 4> injectedFaults{};

// The errno a test asked this step to fail with, once; 0 when the step is to run.
int injectedFault(SafeFile::Step step)
{
    int& fault = injectedFaults[size_t(step)];
    return std::exchange(fault, 0);
}

qint64 roomForTesting = -1;

// ::write on a disk that a test may have made full, or nearly.
ssize_t writeSome(int fd, const char* data, size_t size)
{
    if (const int fault = injectedFault(SafeFile::Step::Write)) {
        errno = fault;
        return -1;
    }
    if (roomForTesting < 0)
        return ::write(fd, data, size);
    if (roomForTesting == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = ::write(fd, data, std::min(size, size_t(roomForTesting)));
    if (written > 0)
        roomForTesting -= written;
    return written;
}

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The rename is only durable once the directory that holds the name is on the disk too.
bool syncDirectory(const QString& directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

SafeFile::SafeFile(const QString& path) : m_path(path)
{
    const QFileInfo info(path);
    m_targetPath = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

SafeFile::~SafeFile()
{
    discard();
}

void SafeFile::failNextForTesting(Step step, int error)
{
    injectedFaults[size_t(step)] = error;
}

void SafeFile::limitRoomForTesting(qint64 bytes)
{
    roomForTesting = bytes;
}

bool SafeFile::fail(int error)
{
    m_failed = true;
    setErrorString(reason(error));
    discard();
    return false;
}

void SafeFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempPath.isEmpty())
        ::unlink(m_tempPath.constData());
    m_tempPath.clear();
    m_buffer.clear();
}

bool SafeFile::open(OpenMode)
{
    discard();
    m_failed = false;
    if (isOpen())
        QIODevice::close();
    const QFileInfo target(m_targetPath);
    if (target.exists() && target.isDir())
        return fail(EISDIR);
    if (target.exists() && !target.isWritable())
        return fail(EACCES);

    m_tempPath = QFile::encodeName(m_targetPath) + ".XXXXXX";
    int fd = -1;
    if (const int fault = injectedFault(Step::Create)) {
        errno = fault;
    } else {
        fd = ::mkostemp(m_tempPath.data(), O_CLOEXEC);
    }
    if (fd < 0) {
        const int error = errno;
        m_tempPath.clear();
        return fail(error);
    }
    m_fd = fd;
    // The new file keeps the old one's permissions; a new one gets what the umask allows.
    struct stat old
    {
    };
    const mode_t mode = ::stat(QFile::encodeName(m_targetPath).constData(), &old) == 0 ? (old.st_mode & 07777)
                                                                                       : newFileMode();
    ::fchmod(m_fd, mode);
    m_buffer.reserve(bufferSize);
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 SafeFile::writeData(const char* data, qint64 size)
{
    if (m_failed || m_fd < 0)
        return -1;
    if (m_buffer.size() + size > bufferSize) {
        if (!writeOut(m_buffer.constData(), m_buffer.size()))
            return -1;
        m_buffer.clear();
        if (size > bufferSize)
            return writeOut(data, size) ? size : -1;
    }
    m_buffer.append(data, size);
    return size;
}

bool SafeFile::writeOut(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = writeSome(m_fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        data += written;
        size -= written;
    }
    return true;
}

bool SafeFile::commit()
{
    return commit({});
}

bool SafeFile::commit(const std::function<std::optional<QString>(const QString& writtenPath)>& approve)
{
    if (m_failed || m_fd < 0)
        return false;
    if (!writeOut(m_buffer.constData(), m_buffer.size()))
        return false;
    m_buffer.clear();

    if (const int fault = injectedFault(Step::Sync))
        return fail(fault);
    if (::fsync(m_fd) != 0)
        return fail(errno);
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        return fail(errno);
    if (approve) {
        if (const std::optional<QString> refused = approve(QFile::decodeName(m_tempPath))) {
            m_failed = true;
            discard();
            setErrorString(*refused);
            return false;
        }
    }

    if (const int fault = injectedFault(Step::Rename))
        return fail(fault);
    if (::rename(m_tempPath.constData(), QFile::encodeName(m_targetPath).constData()) != 0)
        return fail(errno);
    m_tempPath.clear();
    QIODevice::close();
    // The content is in place; a directory that cannot be synced leaves nothing to undo.
    syncDirectory(QFileInfo(m_targetPath).absolutePath());
    return true;
}

std::optional<QString> SafeFile::writeWhole(const QString& path, const QByteArray& bytes)
{
    SafeFile file(path);
    if (file.open() && file.write(bytes) == bytes.size() && file.commit())
        return std::nullopt;
    return file.errorString();
}
