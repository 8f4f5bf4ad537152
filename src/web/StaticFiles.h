#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The app shell, served as it is: "/" gives index.html. Each file has its content type and
// an entity tag; the browser asks again each time (index.html must never be stale) and gets
// "not modified" when it has it. The shell is the one compiled into the program (resources
// under :/webapp) or, for trying a new version out, the files of a folder, read anew on
// every request; of a folder only regular files below it count, never a link.
//
// The service worker /sw.js is served with the shell's version (a hash of all its files)
// and the list of the files to keep for working offline put in place of its markers. The
// files below /vendor/ (the barcode reader, about a megabyte) are left out of the list: the
// worker keeps each of them the first time it is fetched.
class StaticFiles
{
public:
    struct File
    {
        QByteArray content;
        QByteArray contentType;
        QByteArray etag;
    };

    static constexpr QStringView Worker = u"/sw.js";
    static constexpr QStringView KeptOnUse = u"/vendor/";

    // An empty folder: the compiled-in shell.
    explicit StaticFiles(const QString& folder = QString());
    // The file of a request path, if the shell has it.
    std::optional<File> find(const QString& path) const;
    QByteArray version() const;

private:
    struct Shell
    {
        QHash<QString, File> files;
        QByteArray version;
    };
    static Shell load(const QString& root, bool onDisk);
    Shell current() const;

    QString m_folder;
    Shell m_compiled;
};
