#include "exchange/TableExport.h"

#include "exchange/TableWriters.h"
#include "helpers/AppError.h"
#include "helpers/SafeFile.h"
#include "store/DataSet.h"
#include "uikit/DialogBackend.h"
#include "uikit/Dialogs.h"
#include "uikit/LongWork.h"

namespace {

SafeFile& openForWriting(SafeFile& file)
{
    if (!file.open())
        throw AppError(QStringLiteral("Soubor „%1“ nelze vytvořit: %2").arg(file.path(), file.errorString()));
    return file;
}

void commit(SafeFile& file)
{
    if (!file.commit())
        throw AppError(QStringLiteral("Soubor „%1“ nelze zapsat: %2").arg(file.path(), file.errorString()));
}

} // namespace

void UlozitXML(const DataSet& dataSet, const QString& path, const QString& rootName,
               const TableWriters::RowSelection& rows)
{
    LongWork work(QStringLiteral("Export tabulky"));
    SafeFile file(path);
    TableWriters::writeXml(openForWriting(file), dataSet, rootName, rows, [&] { work.step(); });
    commit(file);
}

qsizetype UlozitCSV(const DataSet& dataSet, const QString& path, const TableWriters::RowSelection& rows)
{
    LongWork work(QStringLiteral("Export tabulky"));
    SafeFile file(path);
    const qsizetype replaced = TableWriters::writeCsv(
        openForWriting(file), dataSet, [&] { work.step(); }, rows);
    commit(file);
    return replaced;
}

QString replacedCharactersText(qsizetype count)
{
    if (count == 1)
        return QStringLiteral(
            "Soubor je uložen, ale 1 znak nemá v kódování Windows-1250 obdobu a byl nahrazen "
            "znakem „?“.");
    if (count < 5)
        return QStringLiteral("Soubor je uložen, ale %1 znaky nemají v kódování Windows-1250 obdobu a byly "
                              "nahrazeny znakem „?“.")
            .arg(count);
    return QStringLiteral(
               "Soubor je uložen, ale %1 znaků nemá v kódování Windows-1250 obdobu a bylo nahrazeno "
               "znakem „?“.")
        .arg(count);
}

void ExportovatTabulku(DataSet* dataSet, const QString& suggestedName, QWidget* owner,
                       const TableWriters::RowSelection& rows)
{
    if (!dataSet || !dataSet->isOpen()) {
        ShowInfo(QStringLiteral("Databáze není aktivní ..."));
        return;
    }
    // A pending change is completed first, as moving through the rows would.
    if (!dataSet->checkBrowseMode())
        return;
    if ((rows ? rows->size() : dataSet->recordCount()) == 0) {
        ShowInfo(QStringLiteral("Databáze neobsahuje žádný záznam ..."));
        return;
    }
    const QString suggestion =
        suggestedName.toLower().contains(QStringLiteral("select")) ? QString() : suggestedName;
    const std::optional<FileChoice> choice =
        dialogBackend().saveFile(owner, QStringLiteral("Dokument XML (*.xml);;Database CSV (*.csv)"),
                                 suggestion, QStringLiteral("xml"));
    if (!choice)
        return;
    if (choice->filterIndex == 0) {
        try {
            UlozitXML(*dataSet, choice->path, QStringLiteral("data"), rows);
        } catch (const AppError& e) {
            ShowInfo(QStringLiteral("XML dokument se nepodařilo vytvořit: \r\n") + e.text());
        }
    } else {
        // Failures go to the general error report.
        if (const qsizetype replaced = UlozitCSV(*dataSet, choice->path, rows))
            ShowInfo(replacedCharactersText(replaced));
    }
}
