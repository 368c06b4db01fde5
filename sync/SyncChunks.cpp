#include "sync/SyncChunks.h"

namespace {
template <typename T>
void appendAll(std::vector<T> &to, bool isSet, const std::vector<T> &from)
{
    if (isSet)
        to.insert(to.end(), from.begin(), from.end());
}
} // namespace

void SyncChunks::append(const EDAMSyncChunk &chunk)
{
    const size_t firstNote = notes.size();
    appendAll(notebooks, chunk.__isset.notebooks, chunk.notebooks);
    appendAll(tags, chunk.__isset.tags, chunk.tags);
    appendAll(notes, chunk.__isset.notes, chunk.notes);
    appendAll(expungedNotebooks, chunk.__isset.expungedNotebooks, chunk.expungedNotebooks);
    appendAll(expungedTags, chunk.__isset.expungedTags, chunk.expungedTags);
    appendAll(expungedNotes, chunk.__isset.expungedNotes, chunk.expungedNotes);
    for (size_t i = firstNote; i < notes.size(); ++i)
        m_noteIndex.insert(QString::fromStdString(notes[i].guid), i);
}

const EDAMNote *SyncChunks::note(const QString &guid) const
{
    const auto it = m_noteIndex.constFind(guid);
    return it == m_noteIndex.constEnd() ? nullptr : &notes[*it];
}
