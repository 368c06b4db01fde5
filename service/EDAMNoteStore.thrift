// The note store: the calls the application makes on a user's notebooks, tags and notes.
// Every call takes the authentication token of the user store's authentication result first.

include "EDAMTypes.thrift"

namespace cpp edam

service NoteStore {
  EDAMTypes.EDAMSyncChunk getSyncChunk(1: string authenticationToken,
                                       2: i32 afterUSN,
                                       3: i32 maxEntries,
                                       4: bool fullSyncOnly)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException),

  list<EDAMTypes.EDAMNotebook> listNotebooks(1: string authenticationToken)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException),

  EDAMTypes.EDAMNotebook getDefaultNotebook(1: string authenticationToken)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException),

  EDAMTypes.EDAMNotebook createNotebook(1: string authenticationToken,
                                        2: EDAMTypes.EDAMNotebook notebook)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException),

  i32 updateNotebook(1: string authenticationToken,
                     2: EDAMTypes.EDAMNotebook notebook)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  i32 expungeNotebook(1: string authenticationToken,
                      2: string guid)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  list<EDAMTypes.EDAMTag> listTags(1: string authenticationToken)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException),

  EDAMTypes.EDAMTag createTag(1: string authenticationToken,
                              2: EDAMTypes.EDAMTag tag)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  i32 updateTag(1: string authenticationToken,
                2: EDAMTypes.EDAMTag tag)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  i32 expungeTag(1: string authenticationToken,
                 2: string guid)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  string getNoteContent(1: string authenticationToken,
                        2: string guid)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  EDAMTypes.EDAMNote createNote(1: string authenticationToken,
                                2: EDAMTypes.EDAMNote note)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  EDAMTypes.EDAMNote updateNote(1: string authenticationToken,
                                2: EDAMTypes.EDAMNote note)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException),

  i32 expungeNote(1: string authenticationToken,
                  2: string guid)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException,
            3: EDAMTypes.EDAMNotFoundException notFoundException)
}
