#pragma once

class Connection;
class DataSet;
class QObject;

// What the main window works on: the open customer, the data sets of its cards and of the
// current card's activities, and the two lookup lists the panels choose from. The data sets
// belong to the owner given, which lives for the whole run.
class CustomerRecords
{
public:
    CustomerRecords(Connection& connection, QObject* owner);

    int IdOtevrenehoZakaznika = 0; // 0: no customer is open
    DataSet* const DS_Karty;
    DataSet* const DS_Cin;
    DataSet* const DS_Kategorie;
    DataSet* const DS_Cin2;
};
