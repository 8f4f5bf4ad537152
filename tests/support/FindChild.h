#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <QtGlobal>
#include <source_location>

// The component of a window with the given name (or, without a name, the one of that type).
// When the window has none, the test stops at once and says which component it looked for,
// where and from which line, instead of going on with a null pointer.
template <class T = QWidget>
T* child(const QObject& parent, const QString& name = QString(),
         std::source_location where = std::source_location::current())
{
    T* found = parent.findChild<T*>(name);
    if (!found)
        qFatal("%s:%u: no %s named \"%s\" in %s \"%s\"", where.file_name(), unsigned(where.line()),
               T::staticMetaObject.className(), qPrintable(name), parent.metaObject()->className(),
               qPrintable(parent.objectName()));
    return found;
}

template <class T = QWidget>
T* child(const QObject& parent, const char* name,
         std::source_location where = std::source_location::current())
{
    return child<T>(parent, QString::fromUtf8(name), where);
}

// For a test that checks that a window lacks a component.
template <class T = QObject> bool noChild(const QObject& parent, const QString& name = QString())
{
    return !parent.findChild<T*>(name);
}
