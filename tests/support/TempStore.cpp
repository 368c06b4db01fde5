#include "tests/support/TempStore.h"

#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"

#include <gtest/gtest.h>

TempStore::TempStore()
    : m_stack(std::make_unique<StoreStack>(folder()))
{
}

ManagedObjectContext &TempStore::context()
{
    ManagedObjectContext *context = m_stack->managedObjectContext();
    if (!context)
        throw std::runtime_error("the temporary store did not open");
    return *context;
}

void TempStore::save()
{
    AppError error;
    if (!context().save(&error))
        ADD_FAILURE() << "save failed: " << error.text().toStdString();
}

void TempStore::reopen()
{
    save();
    m_stack = std::make_unique<StoreStack>(folder());
}

MyNote *TempStore::task(const QString &title, MyNotebook *notebook)
{
    auto *note = context().insert<MyNote>();
    note->setTitle(title);
    note->setNotebook(notebook ? notebook : firstNotebook());
    return note;
}

MyNotebook *TempStore::notebook(const QString &name)
{
    auto *notebook = context().insert<MyNotebook>();
    notebook->setName(name);
    return notebook;
}

MyTag *TempStore::tag(const QString &name)
{
    auto *tag = context().insert<MyTag>();
    tag->setName(name);
    return tag;
}

MyNotebook *TempStore::firstNotebook()
{
    const auto notebooks = context().fetch(QLatin1String(MyNotebook::entityName));
    return notebooks.isEmpty() ? nullptr : static_cast<MyNotebook *>(notebooks.first());
}
