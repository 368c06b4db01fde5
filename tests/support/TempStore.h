#pragma once

#include "core/store/ManagedObjectContext.h"
#include "core/store/StoreStack.h"

#include <QTemporaryDir>

#include <memory>

class MyNote;
class MyNotebook;
class MyTag;

// A real store in a temporary folder, reopened at will as the next launch would.
class TempStore
{
public:
    TempStore();

    QString folder() const { return m_dir.filePath(QStringLiteral("Kelvara")); }
    StoreStack &stack() { return *m_stack; }
    ManagedObjectContext &context();
    // Saves, forgets everything, and opens the store file afresh.
    void reopen();
    void save();

    MyNote *task(const QString &title, MyNotebook *notebook = nullptr);
    MyNotebook *notebook(const QString &name);
    MyTag *tag(const QString &name);
    MyNotebook *firstNotebook();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<StoreStack> m_stack;
};
