#pragma once

#include "service/EDAMTypes.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

// What a run fetched from the service: every chunk after the stored mark, up to the account's
// update count, as one list of each kind in the service's order. A note changed while the
// chunks were being fetched may come twice; the later entry is its current state.
struct SyncChunks
{
    std::vector<EDAMNotebook> notebooks;
    std::vector<EDAMTag> tags;
    std::vector<EDAMNote> notes;
    std::vector<std::string> expungedNotebooks;
    std::vector<std::string> expungedTags;
    std::vector<std::string> expungedNotes;

    void append(const EDAMSyncChunk &chunk);
    // The latest entry of the note with that guid, or nullptr.
    const EDAMNote *note(const QString &guid) const;
    bool hasExpunged() const { return !expungedNotebooks.empty() || !expungedTags.empty() || !expungedNotes.empty(); }

private:
    QHash<QString, size_t> m_noteIndex;
};
