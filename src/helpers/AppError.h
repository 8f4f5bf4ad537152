#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// An error that carries the text the user is shown. Every failure that travels up to an
// action handler is one of these, so the general error report can show its own words.
class AppError : public std::exception
{
public:
    explicit AppError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString& text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
