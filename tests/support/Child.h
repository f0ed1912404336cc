// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

// The child of `parent` with that object name; a test that names a missing one ends at once.
template <typename T> T* Child(const QObject* parent, const QString& name)
{
    T* child = parent->findChild<T*>(name);
    if (!child)
        qFatal("no child %s", qPrintable(name));
    return child;
}

template <typename T> T* Child(const QObject& parent, const QString& name)
{
    return Child<T>(&parent, name);
}
