#include "exchange/TableExport.h"

#include "app/DialogBackend.h"
#include "app/Dialogs.h"
#include "exchange/TableWriters.h"
#include "store/DataSet.h"
#include "store/Errors.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSaveFile>

namespace {

// The busy cursor for as long as it lives.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

QSaveFile& openForWriting(QSaveFile& file)
{
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Soubor „%1“ nelze vytvořit: %2").arg(file.fileName(), file.errorString()));
    return file;
}

void commit(QSaveFile& file)
{
    if (!file.commit())
        throw AppError(QStringLiteral("Soubor „%1“ nelze zapsat: %2").arg(file.fileName(), file.errorString()));
}

} // namespace

void UlozitXML(const DataSet& dataSet, const QString& path, const QString& rootName)
{
    QSaveFile file(path);
    TableWriters::writeXml(openForWriting(file), dataSet, rootName);
    commit(file);
}

void UlozitCSV(const DataSet& dataSet, const QString& path)
{
    BusyCursor busy;
    QSaveFile file(path);
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    // The window is repainted during a long export; the user's input waits until it ends.
    TableWriters::writeCsv(openForWriting(file), dataSet, [&] {
        if (sinceEvents.elapsed() >= 30) {
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceEvents.restart();
        }
    });
    commit(file);
}

void ExportovatTabulku(DataSet* dataSet, const QString& suggestedName, QWidget* owner)
{
    if (!dataSet || !dataSet->isOpen()) {
        ShowInfo(QStringLiteral("Databáze není aktivní ..."));
        return;
    }
    // A pending change is completed first, as moving through the rows would.
    if (!dataSet->checkBrowseMode())
        return;
    if (dataSet->recordCount() == 0) {
        ShowInfo(QStringLiteral("Databáze neobsahuje žádný záznam ..."));
        return;
    }
    const QString suggestion = suggestedName.toLower().contains(QStringLiteral("select")) ? QString() : suggestedName;
    const std::optional<FileChoice> choice = dialogBackend().saveFile(
        owner, QStringLiteral("Dokument XML|*.xml|Database CSV|*.csv"), suggestion, QStringLiteral("xml"));
    if (!choice)
        return;
    if (choice->filterIndex == 0) {
        try {
            BusyCursor busy;
            UlozitXML(*dataSet, choice->path, QStringLiteral("data"));
        } catch (const AppError& e) {
            ShowInfo(QStringLiteral("XML dokument se nepodařilo vytvořit: \r\n") + e.text());
        }
    } else {
        UlozitCSV(*dataSet, choice->path); // failures go to the general error report
    }
}
