#pragma once
// Finds a control of a dialog or page the way a user names it: by its objectName, which the dialog
// builder sets to the name of the control's identifier (res/ControlIds.h).

#include <QAnyStringView>
#include <QString>
#include <QWidget>

// The control of `dialog` named `name`; stops the test program with the name when there is none,
// so that a misspelt name fails loudly rather than as a null pointer.
template <class T> T* FindControl(const QWidget* dialog, QAnyStringView name)
{
    T* control = dialog->findChild<T*>(name.toString(), Qt::FindDirectChildrenOnly);
    if (!control)
        qFatal("%s has no %s named %s", dialog->metaObject()->className(), T::staticMetaObject.className(),
               qPrintable(name.toString()));
    return control;
}
