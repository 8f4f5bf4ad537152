#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The app shell compiled into the program (resources under :/webapp), served as it is: "/"
// gives index.html. Each file has its content type and an entity tag; the browser asks
// again each time (index.html must never be stale) and gets "not modified" when it has it.
class StaticFiles
{
public:
    struct File
    {
        QByteArray content;
        QByteArray contentType;
        QByteArray etag;
    };

    StaticFiles();
    // The file of a request path, or null.
    const File* find(const QString& path) const;

private:
    QHash<QString, File> m_files;
};
