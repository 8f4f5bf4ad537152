#pragma once

#include <QDate>
#include <QList>
#include <QString>

struct Settings;

// A reminder e-mail to one customer about the heating sources whose revision is due.
namespace ReminderMail {

struct Source
{
    QString name;
    QString serialNumber;
    QDate due; // invalid when the source has no next revision
};

QString subject(); // "Připomenutí revize"

// The Czech text of the e-mail: the sources with their serial numbers and due dates, a
// request to agree a visit, signed with the firm's name and phone from the user's data.
// Lines end with CR LF, as mail wants them.
QString body(const QList<Source>& sources, const Settings& firm, const QDate& today);

// The mailto: address for the desktop's mail program: the addresses of the e-mail field
// (several may be separated by commas, semicolons or spaces), the subject and the body,
// every character outside the plain ASCII set sent as percent-encoded UTF-8. Empty when
// the field holds no address.
QString mailtoAddress(const QString& emailField, const QString& subject, const QString& body);

} // namespace ReminderMail
