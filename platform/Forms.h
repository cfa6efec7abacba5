#pragma once
#include <QString>
#include <QWidget>
#include <functional>

// Default form instances by name: created on first use, destroyed by Unload (or by
// the user closing the window), looked up without creating by FindForm.
using FormFactory = std::function<QWidget *()>;

// Tells the registry how to make the form called name (its objectName is set to name).
void RegisterForm(const QString &name, FormFactory factory);
bool IsFormRegistered(const QString &name);
// The default instance, created (not shown) when none is loaded; nullptr when the
// name was never registered.
QWidget *Form(const QString &name);
template <class T> T *DefaultForm(const QString &name)
{
    if (!IsFormRegistered(name))
        RegisterForm(name, [] { return new T; });
    return dynamic_cast<T *>(Form(name));
}
// The loaded form of exactly that name (case-sensitive), or nullptr. Never creates.
QWidget *FindForm(const QString &name);
// Closes and destroys the form. False when the form refused to close (its close
// handler ignored the event) or was not loaded. Safe from the form's own handlers:
// the object is deleted once control returns to the event loop.
bool Unload(const QString &name);
bool Unload(QWidget *form);
QStringList LoadedForms();
// Tests: unloads every form and forgets every factory.
void ResetForms();
