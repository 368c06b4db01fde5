// The note service's objects, as far as this application exchanges them.
//
// Every field is optional on purpose: Thrift always writes a field of default requiredness,
// even one that was never set, and a blank value sent that way would overwrite what the
// service holds. An optional field travels only when it has been set.
//
// The structs nested in the ones we use are declared whole, so that a reply carrying them
// reads into something that can be sent back; nothing in the application looks into them.

namespace cpp edam

struct EDAMData {
  1: optional binary bodyHash,
  2: optional i32 size,
  3: optional binary body
}

struct EDAMNoteAttributes {
  1: optional i64 subjectDate,
  10: optional double latitude,
  11: optional double longitude,
  12: optional double altitude,
  13: optional string author,
  14: optional string source,
  15: optional string sourceURL,
  16: optional string sourceApplication
}

struct EDAMResourceAttributes {
  1: optional string sourceURL,
  2: optional i64 timestamp,
  3: optional double latitude,
  4: optional double longitude,
  5: optional double altitude,
  6: optional string cameraMake,
  7: optional string cameraModel,
  8: optional bool clientWillIndex,
  9: optional string recoType,
  10: optional string fileName,
  11: optional bool attachment
}

struct EDAMResource {
  1: optional string guid,
  2: optional string noteGuid,
  3: optional EDAMData data,
  4: optional string mime,
  5: optional i16 width,
  6: optional i16 height,
  7: optional i16 duration,
  8: optional bool active,
  9: optional EDAMData recognition,
  11: optional EDAMResourceAttributes attributes,
  12: optional i32 updateSequenceNum,
  13: optional EDAMData alternateData
}

// Times are milliseconds since 1970-01-01 UTC; update sequence numbers are 32-bit.
struct EDAMNote {
  1: optional string guid,
  2: optional string title,
  3: optional string content,
  4: optional binary contentHash,
  5: optional i32 contentLength,
  6: optional i64 created,
  7: optional i64 updated,
  8: optional i64 deleted,
  9: optional bool active,
  10: optional i32 updateSequenceNum,
  11: optional string notebookGuid,
  12: optional list<string> tagGuids,
  13: optional list<EDAMResource> resources,
  14: optional EDAMNoteAttributes attributes,
  15: optional list<string> tagNames
}

struct EDAMPublishing {
  1: optional string uri,
  2: optional i32 order,
  3: optional bool ascending,
  4: optional string publicDescription
}

struct EDAMNotebook {
  1: optional string guid,
  2: optional string name,
  5: optional i32 updateSequenceNum,
  6: optional bool defaultNotebook,
  7: optional i64 serviceCreated,
  8: optional i64 serviceUpdated,
  10: optional EDAMPublishing publishing,
  11: optional bool published
}

struct EDAMTag {
  1: optional string guid,
  2: optional string name,
  3: optional string parentGuid,
  4: optional i32 updateSequenceNum
}

struct EDAMSavedSearch {
  1: optional string guid,
  2: optional string name,
  3: optional string query,
  4: optional i32 format,
  5: optional i32 updateSequenceNum
}

struct EDAMSyncChunk {
  1: optional i64 currentTime,
  2: optional i32 chunkHighUSN,
  3: optional i32 updateCount,
  4: optional list<EDAMNote> notes,
  5: optional list<EDAMNotebook> notebooks,
  6: optional list<EDAMTag> tags,
  7: optional list<EDAMSavedSearch> searches,
  8: optional list<EDAMResource> resources,
  9: optional list<string> expungedNotes,
  10: optional list<string> expungedNotebooks,
  11: optional list<string> expungedTags,
  12: optional list<string> expungedSearches
}

struct EDAMUserAttributes {
  1: optional string defaultLocationName,
  2: optional double defaultLatitude,
  3: optional double defaultLongitude,
  4: optional bool preactivation,
  5: optional list<string> viewedPromotions,
  6: optional string incomingEmailAddress,
  7: optional list<string> recentMailedAddresses,
  9: optional string comments,
  11: optional i64 dateAgreedToTermsOfService,
  12: optional i32 maxReferrals,
  13: optional i32 referralCount,
  14: optional string refererCode,
  15: optional i64 sentEmailDate,
  16: optional i32 sentEmailCount,
  17: optional i32 dailyEmailLimit,
  18: optional i64 emailOptOutDate,
  19: optional i64 partnerEmailOptInDate,
  20: optional string preferredLanguage,
  21: optional string preferredCountry,
  22: optional bool clipFullPage,
  23: optional string twitterUserName,
  24: optional string twitterId,
  25: optional string groupName,
  26: optional string recognitionLanguage,
  27: optional i64 customerProfileId,
  28: optional string referralProof
}

struct EDAMAccounting {
  1: optional i64 uploadLimit,
  2: optional i64 uploadLimitEnd,
  3: optional i64 uploadLimitNextMonth,
  4: optional i32 premiumServiceStatus,
  5: optional string premiumOrderNumber,
  6: optional string premiumCommerceService,
  7: optional i64 premiumServiceStart,
  8: optional string premiumServiceSKU,
  9: optional i64 lastSuccessfulCharge,
  10: optional i64 lastFailedCharge,
  11: optional string lastFailedChargeReason,
  12: optional i64 nextPaymentDue,
  13: optional i64 premiumLockUntil,
  14: optional i64 updated,
  16: optional string premiumSubscriptionNumber,
  17: optional i64 lastRequestedCharge
}

struct EDAMUser {
  1: optional i32 id,
  2: optional string username,
  3: optional string email,
  4: optional string name,
  6: optional string timezone,
  7: optional i32 privilege,
  9: optional i64 created,
  10: optional i64 updated,
  11: optional i64 deleted,
  13: optional bool active,
  14: optional string shardId,
  15: optional EDAMUserAttributes attributes,
  16: optional EDAMAccounting accounting
}

struct EDAMPublicUserInfo {
  1: optional i32 userId,
  2: optional string shardId,
  3: optional i32 privilege,
  4: optional string username
}

struct EDAMAuthenticationResult {
  1: optional i64 currentTime,
  2: optional string authenticationToken,
  3: optional i64 expiration,
  4: optional EDAMUser user,
  5: optional EDAMPublicUserInfo publicUserInfo
}

// The service's refusals. Error code 10 with the parameter "Tag.name" or "Notebook.name" is
// the one the application acts on: a create refused because the name is taken.
exception EDAMUserException {
  1: optional i32 errorCode,
  2: optional string parameter
}

// Error code 19 (rate limit reached) comes with the seconds to wait before the next call.
exception EDAMSystemException {
  1: optional i32 errorCode,
  2: optional string message,
  3: optional i32 rateLimitDuration
}

exception EDAMNotFoundException {
  1: optional string identifier,
  2: optional string key
}
