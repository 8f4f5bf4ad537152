#include "web/StaticFiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace {

const QString compiledRoot = QStringLiteral(":/webapp");

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

QByteArray sha256(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

StaticFiles::File fileOf(const QString& path, QByteArray content)
{
    StaticFiles::File f;
    f.etag = '"' + sha256(content).left(32) + '"';
    f.content = std::move(content);
    f.contentType = contentTypeOf(path);
    return f;
}

// The worker with the version and the shell's files in place of its markers.
QByteArray workerWith(QByteArray worker, const QByteArray& version, const QStringList& files)
{
    QJsonArray list;
    for (const QString& file : files)
        list.append(file);
    worker.replace("'@VERZE@'", "'" + version + "'");
    worker.replace("['@SOUBORY@']", QJsonDocument(list).toJson(QJsonDocument::Compact));
    return worker;
}

} // namespace

StaticFiles::StaticFiles(const QString& folder) : m_folder(folder)
{
    if (m_folder.isEmpty())
        m_compiled = load(compiledRoot, false);
}

StaticFiles::Shell StaticFiles::load(const QString& root, bool onDisk)
{
    Shell shell;
    const QString canonicalRoot = onDisk ? QFileInfo(root).canonicalFilePath() : root;
    if (canonicalRoot.isEmpty())
        return shell;
    QDirIterator it(canonicalRoot, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = it.next();
        const QFileInfo info(name);
        // Below the folder and nowhere else, whatever its links or names.
        if (onDisk && (info.isSymLink() || !info.canonicalFilePath().startsWith(canonicalRoot + u'/')))
            continue;
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString path = name.mid(canonicalRoot.size());
        shell.files.insert(path, fileOf(path, file.readAll()));
    }
    QStringList paths = shell.files.keys();
    std::sort(paths.begin(), paths.end());
    QCryptographicHash all(QCryptographicHash::Sha256);
    for (const QString& path : std::as_const(paths)) {
        all.addData(path.toUtf8());
        all.addData(QByteArrayView("\0", 1));
        all.addData(shell.files.value(path).etag);
    }
    shell.version = all.result().toHex().left(16);
    const auto worker = shell.files.find(Worker.toString());
    if (worker != shell.files.end()) {
        // The worker itself is never kept, and the barcode reader only once the scanning
        // view fetched it: a phone that never scans needs neither.
        paths.removeOne(Worker.toString());
        paths.removeIf([](const QString& path) { return path.startsWith(KeptOnUse); });
        *worker = fileOf(Worker.toString(), workerWith(worker->content, shell.version, paths));
    }
    return shell;
}

StaticFiles::Shell StaticFiles::current() const
{
    return m_folder.isEmpty() ? m_compiled : load(m_folder, true);
}

std::optional<StaticFiles::File> StaticFiles::find(const QString& path) const
{
    const Shell shell = current();
    const auto found = shell.files.constFind(path == u"/" ? QStringLiteral("/index.html") : path);
    if (found == shell.files.constEnd())
        return std::nullopt;
    return *found;
}

QByteArray StaticFiles::version() const
{
    return current().version;
}
