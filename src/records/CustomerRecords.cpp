#include "records/CustomerRecords.h"

#include "store/DataSet.h"

CustomerRecords::CustomerRecords(Connection& connection, QObject* owner)
    : DS_Karty(new DataSet(connection, QStringLiteral("DS_Karty"), owner)),
      DS_Cin(new DataSet(connection, QStringLiteral("DS_Cin"), owner)),
      DS_Kategorie(new DataSet(connection, QStringLiteral("DS_Kategorie"), owner)),
      DS_Cin2(new DataSet(connection, QStringLiteral("DS_Cin2"), owner))
{
}
