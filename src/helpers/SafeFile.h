#pragma once

#include <QIODevice>
#include <QString>

#include <functional>
#include <optional>

// Every file the program writes goes through here. The bytes go to a temporary file beside
// the target; commit() writes out what is buffered, syncs the file to the disk, renames it
// over the target and syncs the directory. Until then, and whenever any of that fails, the
// old file stays byte for byte as it was and the temporary file is removed. A failure is
// told in the system's own words ("No space left on device"), available as errorString().
class SafeFile : public QIODevice
{
public:
    explicit SafeFile(const QString& path);
    ~SafeFile() override;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // The file as the user named it.
    const QString& path() const { return m_path; }

    // Creates the temporary file (write-only, whatever the mode says); false with the
    // reason in errorString().
    bool open(OpenMode mode = WriteOnly) override;
    // Puts the written bytes in place of the old file; false with the reason in errorString().
    bool commit();
    // The same, with a look at the written file before it takes the target's place: approve
    // gets the path of the synced temporary file and returns why it must not replace the
    // target (then errorString(), and the old file stays), or nothing.
    bool commit(const std::function<std::optional<QString>(const QString& writtenPath)>& approve);

    // The whole content at once; the reason when it could not be written.
    static std::optional<QString> writeWhole(const QString& path, const QByteArray& bytes);

    // The steps a test can make fail, as a full disk or a broken medium would.
    enum class Step
    {
        Create,
        Write,
        Sync,
        Rename
    };
    // The next time the step runs it fails with the given errno value (0 clears it).
    static void failNextForTesting(Step step, int error);
    // Until -1 clears it, the disk has room for only so many more bytes: a write that does
    // not fit is cut short there and the next one fails with ENOSPC, as on a full disk.
    static void limitRoomForTesting(qint64 bytes);

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool writeOut(const char* data, qint64 size);
    bool fail(int error);
    void discard();

    QString m_path;       // as given
    QString m_targetPath; // where the content lands: the end of a symbolic link
    QByteArray m_tempPath;
    QByteArray m_buffer;
    int m_fd = -1;
    bool m_failed = false;
};
