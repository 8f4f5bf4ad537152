#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The word lists the generator draws a firm's data from: Czech names, towns, streets,
// the code lists and the equipment of the trade.
namespace GenData {

struct Surname
{
    QString male;   // "Novák"
    QString female; // "Nováková"
};

struct Town
{
    QString name;
    QString postcode; // "602 00"
    QString areaCode; // first digits of a fixed-line number
};

struct Model
{
    QString maker;
    QString type;
};

struct Category
{
    QString name;
    int periodMonths; // months between inspections
    int weight;       // how common a card of the category is
    int firstYear;    // the oldest rok_vyroby that makes sense
    QString noun;     // how a card of the category is called: "Plynový kotel"
    QList<Model> models;
};

struct Technician
{
    int number;
    QString name;
};

const QStringList& maleFirstNames();
const QStringList& femaleFirstNames();
const QList<Surname>& surnames();
const QList<Town>& towns();
const QList<Town>& villages();
const QStringList& streets();

// Name patterns of firms and institutions; "%S" a surname, "%T" a town, "%V" a village,
// "%U" a street with a number, "%W" a word of a business name.
const QStringList& firmPatterns();
const QStringList& businessWords();

const QList<Category>& categories();
const QStringList& activityKinds();
const QList<Technician>& technicians();

// The locations a card's name may end with.
const QStringList& cardPlaces();
const QStringList& cardNotes();
const QStringList& activityNotes();
const QStringList& customerNotes();
const QStringList& mailDomains();

} // namespace GenData
