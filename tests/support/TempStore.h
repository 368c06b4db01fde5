#pragma once

#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "core/store/StoreStack.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

// A real store in a temporary folder, reopened at will as the next launch would.
class TempStore
{
public:
    TempStore() : m_stack(std::make_unique<StoreStack>(folder())) {}

    QString folder() const { return m_dir.filePath(QStringLiteral("Kelvara")); }
    StoreStack &stack() { return *m_stack; }
    ManagedObjectContext &context()
    {
        if (ManagedObjectContext *context = m_stack->managedObjectContext())
            return *context;
        throw std::runtime_error("the temporary store did not open");
    }
    // Saves, forgets everything, and opens the store file afresh.
    void reopen()
    {
        save();
        m_stack = std::make_unique<StoreStack>(folder());
    }
    void save()
    {
        AppError error;
        if (!context().save(&error))
            ADD_FAILURE() << "save failed: " << error.text().toStdString();
    }

    MyNote *task(const QString &title, MyNotebook *notebook = nullptr)
    {
        auto *note = context().insert<MyNote>();
        note->setTitle(title);
        note->setNotebook(notebook ? notebook : firstNotebook());
        return note;
    }
    MyNotebook *notebook(const QString &name) { return named<MyNotebook>(name); }
    MyTag *tag(const QString &name) { return named<MyTag>(name); }
    MyNotebook *firstNotebook()
    {
        const auto notebooks = context().fetch(QLatin1String(MyNotebook::entityName));
        return notebooks.isEmpty() ? nullptr : static_cast<MyNotebook *>(notebooks.first());
    }

private:
    template<typename T>
    T *named(const QString &name)
    {
        auto *object = context().insert<T>();
        object->setName(name);
        return object;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<StoreStack> m_stack;
};
