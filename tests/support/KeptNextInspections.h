#pragma once

#include <QString>

class Connection;

// Where the next inspections the database keeps (pristi_revize_karet) differ from those
// worked out afresh from the cards, customers, activities and reminders: one line per
// differing card, empty when they all agree.
QString keptNextInspectionsDiffer(Connection& connection);
