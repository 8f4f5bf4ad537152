#pragma once

#include <QString>

#include <exception>

// A request the API answers with an error of its own: the status, the Czech message and,
// when one field is at fault, its column.
class ApiError : public std::exception
{
public:
    ApiError(int status, QString message, QString field = QString())
        : m_status(status), m_message(std::move(message)), m_field(std::move(field))
    {
    }
    int status() const { return m_status; }
    const QString& message() const { return m_message; }
    const QString& field() const { return m_field; }
    const char* what() const noexcept override { return "api error"; }

private:
    int m_status;
    QString m_message;
    QString m_field;
};
