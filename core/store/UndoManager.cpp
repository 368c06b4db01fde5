#include "core/store/UndoManager.h"

#include <QMetaObject>

UndoManager::UndoManager(QObject *parent)
    : QObject(parent)
{
}

void UndoManager::registerUndo(Action undo)
{
    if (m_disabled > 0)
        return;
    if (m_undoing || m_redoing) {
        // Replaying: the inverse goes into the group being built by replay().
        m_open.push_back(std::move(undo));
        return;
    }
    if (m_depth == 0) {
        m_automaticGroup = true;
        m_depth = 1;
        QMetaObject::invokeMethod(this, &UndoManager::closeAutomaticGroup, Qt::QueuedConnection);
    }
    m_open.push_back(std::move(undo));
    if (!m_redo.empty()) {
        m_redo.clear();
    }
}

void UndoManager::beginUndoGrouping()
{
    // Inside an automatic group an explicit one simply nests: both end with the event turn.
    ++m_depth;
}

void UndoManager::endUndoGrouping()
{
    if (m_depth == 0)
        return;
    if (--m_depth > 0)
        return;
    m_automaticGroup = false;
    if (!m_open.empty()) {
        m_undo.push_back(std::move(m_open));
        m_open.clear();
        trim();
    }
    emit stateChanged();
}

void UndoManager::closeAutomaticGroup()
{
    if (!m_automaticGroup)
        return;
    m_depth = 1;
    endUndoGrouping();
}

bool UndoManager::canUndo() const
{
    return !m_undo.empty() || !m_open.empty();
}

void UndoManager::trim()
{
    if (m_levels > 0 && int(m_undo.size()) > m_levels)
        m_undo.erase(m_undo.begin(), m_undo.begin() + (int(m_undo.size()) - m_levels));
}

void UndoManager::replay(std::vector<Group> &from, std::vector<Group> &to, bool &flag)
{
    if (from.empty())
        return;
    Group group = std::move(from.back());
    from.pop_back();
    flag = true;
    m_open.clear();
    for (auto it = group.rbegin(); it != group.rend(); ++it)
        (*it)();
    flag = false;
    if (!m_open.empty())
        to.push_back(std::move(m_open));
    m_open.clear();
    emit stateChanged();
}

void UndoManager::undo()
{
    if (m_depth > 0) { // what the current action did so far is the group to undo
        m_depth = 1;
        endUndoGrouping();
    }
    replay(m_undo, m_redo, m_undoing);
}

void UndoManager::redo()
{
    replay(m_redo, m_undo, m_redoing);
}

void UndoManager::removeAllActions()
{
    m_undo.clear();
    m_redo.clear();
    m_open.clear();
    m_depth = 0;
    m_automaticGroup = false;
    emit stateChanged();
}
