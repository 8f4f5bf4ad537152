#include "exchange/TableExport.h"

#include "app/DialogBackend.h"
#include "app/Dialogs.h"
#include "app/LongWork.h"
#include "exchange/TableWriters.h"
#include "store/DataSet.h"
#include "store/Errors.h"

#include <QSaveFile>

namespace {

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
    LongWork work;
    QSaveFile file(path);
    TableWriters::writeCsv(openForWriting(file), dataSet, [&] { work.step(); });
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
            LongWork work;
            UlozitXML(*dataSet, choice->path, QStringLiteral("data"));
        } catch (const AppError& e) {
            ShowInfo(QStringLiteral("XML dokument se nepodařilo vytvořit: \r\n") + e.text());
        }
    } else {
        UlozitCSV(*dataSet, choice->path); // failures go to the general error report
    }
}
