#pragma once

#include <cstdint>
#include <set>

// How far a run may move "chunkHighUSN": never past an entry of the service that the store has
// not taken in. The service numbers every change of the account, one after another; a run
// fetches the entries above the stored number, sends its own changes (each gets the next
// number), and applies what it fetched. The mark is the highest number below which everything
// is in the store:
//
// - the fetched chunks cover every number up to the last chunk's high mark;
// - a number one of the run's own sends got counts only when it follows directly on the highest
//   counted so far: a gap means another device changed something the run has not fetched;
// - an entry fetched and not applied (yet, or at all: its content could not be read) holds the
//   mark below its number, and the objects the service expunged hold it where it started until
//   they are gone from the store.
//
// Plain bookkeeping, no store and no service: the run feeds it as it goes.
class UsnMark
{
public:
    explicit UsnMark(int32_t stored);

    // A chunk came, covering everything up to `chunkHighUSN`.
    void fetched(int32_t chunkHighUSN);
    // The chunk lists objects the service expunged, still to be removed here.
    void expungesPending(bool pending) { m_expungesPending = pending; }
    // An entry of a fetched chunk, to be applied.
    void entry(int32_t usn);
    // That entry is in the store now, or was passed over for good (its notebook is unknown).
    void applied(int32_t usn);
    // One of the run's own sends was accepted with this number. `counted` is false when the
    // object was gone from the store by then: its note must come back with the next chunk.
    void sent(int32_t usn, bool counted = true);

    // Where the run started: what it fetches after.
    int32_t stored() const { return m_stored; }
    // What "chunkHighUSN" may hold now.
    int32_t mark() const;

private:
    int32_t m_stored;
    int32_t m_high;
    bool m_gap = false;
    bool m_expungesPending = false;
    std::multiset<int32_t> m_pending;
};
