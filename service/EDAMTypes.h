#pragma once

// The service's wire types, generated from EDAMTypes.thrift and EDAMUserStore.thrift into the
// namespace edam and used here by their plain names. Each field has a set flag: set it with
// __set_<field>(value), ask with __isset.<field>, clear it with __isset.<field> = false; only
// set fields are written. The three service exceptions are the classes of their own headers
// (EDAMUserException.h and its siblings), which add the descriptions the logs use.
//
// The generated printTo()/to_string() show every field, the authentication token and note
// content included: never log them.

#include "EDAMTypes_types.h"
#include "EDAMUserStore_constants.h"

using edam::EDAMAccounting;
using edam::EDAMAuthenticationResult;
using edam::EDAMData;
using edam::EDAMNote;
using edam::EDAMNoteAttributes;
using edam::EDAMNotebook;
using edam::EDAMPublicUserInfo;
using edam::EDAMPublishing;
using edam::EDAMResource;
using edam::EDAMResourceAttributes;
using edam::EDAMSavedSearch;
using edam::EDAMSyncChunk;
using edam::EDAMTag;
using edam::EDAMUser;
using edam::EDAMUserAttributes;
// The API version sent with the version check: EDAM_VERSION_MAJOR and EDAM_VERSION_MINOR of
// g_EDAMUserStore_constants.
using edam::EDAMUserStoreConstants;
using edam::g_EDAMUserStore_constants;
