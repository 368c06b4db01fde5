#pragma once

#include <QObject>

#include <functional>
#include <vector>

// Undo and redo of store changes, grouped by user action: changes registered while no group is
// open fall into one group that closes when control returns to the event loop, so one click or
// key press undoes as one step. Explicit groups can be opened around longer actions.
class UndoManager : public QObject
{
    Q_OBJECT
public:
    using Action = std::function<void()>;

    explicit UndoManager(QObject *parent = nullptr);

    void registerUndo(Action undo);
    void beginUndoGrouping();
    void endUndoGrouping();

    bool canUndo() const;
    bool canRedo() const { return !m_redo.empty(); }
    void undo();
    void redo();

    void disableUndoRegistration() { ++m_disabled; }
    void enableUndoRegistration() { if (m_disabled > 0) --m_disabled; }

    void removeAllActions();

signals:
    void stateChanged();

private:
    using Group = std::vector<Action>;
    void closeAutomaticGroup();
    void trim();
    void replay(std::vector<Group> &from, std::vector<Group> &to, bool &flag);

    std::vector<Group> m_undo;
    std::vector<Group> m_redo;
    Group m_open;
    int m_depth = 0;
    bool m_automaticGroup = false;
    bool m_undoing = false;
    bool m_redoing = false;
    int m_disabled = 0;
    int m_levels = 100;
};
