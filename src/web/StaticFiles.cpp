#include "web/StaticFiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

namespace {

const QString root = QStringLiteral(":/webapp");

QByteArray contentTypeOf(const QString& path)
{
    static const QHash<QString, QByteArray> types{
        {QStringLiteral("html"), "text/html; charset=utf-8"},
        {QStringLiteral("css"), "text/css; charset=utf-8"},
        {QStringLiteral("js"), "text/javascript; charset=utf-8"},
        {QStringLiteral("mjs"), "text/javascript; charset=utf-8"},
        {QStringLiteral("json"), "application/json"},
        {QStringLiteral("webmanifest"), "application/manifest+json"},
        {QStringLiteral("svg"), "image/svg+xml"},
        {QStringLiteral("png"), "image/png"},
        {QStringLiteral("ico"), "image/x-icon"},
        {QStringLiteral("woff2"), "font/woff2"},
        {QStringLiteral("wasm"), "application/wasm"},
        {QStringLiteral("txt"), "text/plain; charset=utf-8"},
    };
    return types.value(path.section(u'.', -1).toLower(), "application/octet-stream");
}

} // namespace

StaticFiles::StaticFiles()
{
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString resource = it.next();
        QFile file(resource);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        File f;
        f.content = file.readAll();
        f.contentType = contentTypeOf(resource);
        f.etag = '"' + QCryptographicHash::hash(f.content, QCryptographicHash::Sha256).toHex().left(32) + '"';
        m_files.insert(resource.mid(root.size()), f);
    }
}

const StaticFiles::File* StaticFiles::find(const QString& path) const
{
    const auto found = m_files.constFind(path == u"/" ? QStringLiteral("/index.html") : path);
    return found == m_files.constEnd() ? nullptr : &*found;
}
