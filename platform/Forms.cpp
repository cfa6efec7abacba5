#include "platform/Forms.h"
#include <QCloseEvent>
#include <QHash>
#include <QPointer>

namespace {
// Learns whether a form accepted its close event, which the widget alone does not tell.
class CloseWatcher : public QObject {
public:
    bool eventFilter(QObject *obj, QEvent *e) override;
};

struct Registry {
    QHash<QString, FormFactory> factories;
    QHash<QString, QPointer<QWidget>> loaded;
    CloseWatcher *watcher = nullptr;
};

Registry &reg()
{
    static Registry r;
    if (!r.watcher)
        r.watcher = new CloseWatcher;
    return r;
}

void forget(QWidget *w)
{
    auto &r = reg();
    for (auto it = r.loaded.begin(); it != r.loaded.end();) {
        if (it.value() == w || it.value().isNull())
            it = r.loaded.erase(it);
        else
            ++it;
    }
}

bool CloseWatcher::eventFilter(QObject *obj, QEvent *e)
{
    if (e->type() != QEvent::Close || !obj->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(obj);
    // Let the form's own handler decide, then unload it when it accepted.
    obj->removeEventFilter(this);
    obj->event(e);
    obj->installEventFilter(this);
    if (e->isAccepted()) {
        forget(w);
        w->removeEventFilter(this);
        w->deleteLater();
    }
    return true;
}
} // namespace

void RegisterForm(const QString &name, FormFactory factory) { reg().factories.insert(name, std::move(factory)); }
bool IsFormRegistered(const QString &name) { return reg().factories.contains(name); }

QWidget *FindForm(const QString &name)
{
    auto &r = reg();
    auto it = r.loaded.find(name);
    if (it == r.loaded.end())
        return nullptr;
    if (it.value().isNull()) {
        r.loaded.erase(it);
        return nullptr;
    }
    return it.value();
}

QWidget *Form(const QString &name)
{
    if (QWidget *w = FindForm(name))
        return w;
    auto &r = reg();
    auto f = r.factories.find(name);
    if (f == r.factories.end() || !f.value())
        return nullptr;
    QWidget *w = f.value()();
    if (!w)
        return nullptr;
    if (w->objectName().isEmpty())
        w->setObjectName(name);
    r.loaded.insert(name, w);
    w->installEventFilter(r.watcher);
    return w;
}

bool Unload(QWidget *form)
{
    if (!form)
        return false;
    bool known = false;
    for (const auto &p : reg().loaded)
        known = known || p == form;
    if (!known)
        return false;
    // close() runs the form's own handler through the watcher, which forgets and deletes it.
    form->close();
    for (const auto &p : reg().loaded)
        if (p == form)
            return false;
    return true;
}

bool Unload(const QString &name) { return Unload(FindForm(name)); }

QStringList LoadedForms()
{
    QStringList out;
    for (auto it = reg().loaded.cbegin(); it != reg().loaded.cend(); ++it)
        if (!it.value().isNull())
            out << it.key();
    out.sort();
    return out;
}

void ResetForms()
{
    auto &r = reg();
    const auto loaded = r.loaded;
    for (const auto &p : loaded)
        if (p) {
            p->removeEventFilter(r.watcher);
            delete p.data();
        }
    r.loaded.clear();
    r.factories.clear();
}
